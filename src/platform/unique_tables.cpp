#include "platform/unique_tables.h"

namespace cmnw::unique {

constexpr char kScramblerKey[257] =
    ";<[G6>G|UbR/ca(l1KdFa.PbJcENS&-awO8!op.K:9u:{VP|BDM+Wtd8B+L/@Sx."
    "HO-U^{zCKVD2:X=Id=hp^YebijjCd[~hO0D/<;EorT[4}7USFNKqK6<c<jQ4|CTC"
    "(t,c!jal;q#3q[St(Qz]TA|JSH|PNlsfQ^B-NB.Q5N_^}o<_Fd1u;|#{5t~2&zQ9"
    "Ol(gWRqQ<mygl#t]ATR|LgVe[6ny@gs79F@%f+P,fvJIPA64+<ijd+YN(-uq<Dou";

}  // namespace cmnw::unique
