#include <gtest/gtest.h>


#include "cmnw32/cfg.h"
#include "cmnw32/process.h"

namespace {

using MathFunc = double (*)(double);

TEST(Module, LoadsThroughSubstitutionAndFindsFunctionReferences) {
    CFGCreate();
    CFGSetString("Window32Subs", "MATH.DLL", "libm.so.6");
    UTLHMODULE m = UTLLoadLibrary("MATH.DLL");
    ASSERT_NE(m, nullptr);
    auto cosine = reinterpret_cast<MathFunc>(UTLQueryProcAddr(m, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(UTLQueryLibrary("math.dll"), m) << "already loaded, found by its mapped name";
    EXPECT_EQ(UTLFreeLibrary(m), 0);

    const struct {
        const char *reference;
        bool found;
    } cases[] = {
        {"MATH.DLL->cos", true}, {"MATH.DLL->no_such_function", false}, {"MATH.DLL", false},
    };
    for (const auto &c : cases) {
        m = reinterpret_cast<UTLHMODULE>(1);
        EXPECT_EQ(UTLQueryFunction(c.reference, &m) != nullptr, c.found) << c.reference;
        EXPECT_EQ(m != nullptr, c.found) << c.reference;
        if (m != nullptr) UTLFreeLibrary(m);
    }
}

}  // namespace
