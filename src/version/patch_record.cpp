// The library's patch record for its debug-switch unit (the class table unit
// carries its own). It is never read by code: the patch scanner finds it in
// the shipped binary. "used" and "retain" keep it through the compiler and
// the linker; volatile keeps a second copy out of the debug information.
namespace cmnw::version {
namespace {

[[gnu::used, gnu::retain]] volatile const char kPatchRecord[] =
    "@@QVS PATCH 11.2:P02:PCR20834:400.112:..\\C\\utldebug:May  1 2007:08:29:14:";

}  // namespace
}  // namespace cmnw::version
