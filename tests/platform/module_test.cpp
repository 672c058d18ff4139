#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "cmnw32/cfg.h"
#include "cmnw32/process.h"
#include "platform_test_util.h"

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
    EXPECT_EQ(UTLQueryProcAddr(m, "no_such_function_here"), nullptr);
    EXPECT_EQ(UTLQueryLibrary("math.dll"), m) << "already loaded, found by its mapped name";
    EXPECT_EQ(UTLFreeLibrary(m), 0);
    EXPECT_NE(UTLGetProcAddr("MATH.DLL", "sqrt"), nullptr);

    const struct {
        const char *reference;
        bool found;
    } cases[] = {
        {"MATH.DLL->cos", true}, {"MATH.DLL->no_such_function", false}, {"MATH.DLL", false},
        {"NOSUCHMODULE.DLL->cos", false}, {"->cos", false},
    };
    for (const auto &c : cases) {
        m = reinterpret_cast<UTLHMODULE>(1);
        EXPECT_EQ(UTLQueryFunction(c.reference, &m) != nullptr, c.found) << c.reference;
        EXPECT_EQ(m != nullptr, c.found) << c.reference;
        if (m != nullptr) UTLFreeLibrary(m);
    }
    m = reinterpret_cast<UTLHMODULE>(1);
    EXPECT_TRUE(UTLQueryFunction(nullptr, &m) == nullptr && m == nullptr);
    EXPECT_EQ(UTLQueryFunction("MATH.DLL->cos", nullptr), nullptr);
}

TEST(Module, QueryLibraryLoadsNothing) {
    CFGCreate();
    CFGSetString("Window32Subs", "BZMOD.DLL", "libbz2.so.1");
    // libbz2 is not linked into the test program.
    if (UTLQueryLibrary("BZMOD.DLL") != nullptr) GTEST_SKIP() << "libbz2 is already loaded here";
    EXPECT_EQ(UTLQueryLibrary("BZMOD.DLL"), nullptr) << "the query did not load it";
    UTLHMODULE m = UTLLoadLibrary("BZMOD.DLL");
    if (m == nullptr) GTEST_SKIP() << "libbz2 is not installed";
    EXPECT_EQ(UTLQueryLibrary("bzmod.dll"), m);
    EXPECT_EQ(UTLQueryLibrary("bzmod.dll"), m) << "queries take no reference";
    EXPECT_EQ(UTLFreeLibrary(m), 0);
    EXPECT_EQ(UTLQueryLibrary("BZMOD.DLL"), nullptr) << "the one load was given back";
    EXPECT_EQ(UTLQueryLibrary(nullptr), nullptr);
}

TEST(Module, FailedLoadWritesOneTraceLine) {
    cmnw::test::TempDir dir;
    std::string trace = dir.File("trace.log");
    cmnw::test::UseTraceConfig(dir.path(), trace, "[Window32Subs]\nGONE.DLL=libgone-nowhere.so\n");
    EXPECT_EQ(UTLLoadLibrary("GONE.DLL"), nullptr);
    std::string text = cmnw::test::ReadFile(trace);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_NE(text.find("UTLLoadLibrary error. Cannot load GONE.DLL (libgone-nowhere.so).Error: "),
              std::string::npos) << text;
}

}  // namespace
