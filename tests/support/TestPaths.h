#pragma once
#include <QString>

namespace glimt::test {

// Folder of the shared corpora of real files ("" when it is not present).
QString TestDataDir();
// tests/fixtures of this repository.
QString FixturesDir();
// Every file below `folder` of the shared corpora whose name ends in one of `suffixes`
// (lower-case, with the dot), sorted; empty when the corpora are absent.
QStringList TestDataFiles(const QString& folder, const QStringList& suffixes);

} // namespace glimt::test

// Skips the current test when the shared corpora are not present.
#define GLIMT_REQUIRE_TESTDATA()                                                  \
    do {                                                                          \
        if (::glimt::test::TestDataDir().isEmpty())                               \
            GTEST_SKIP() << "shared test corpora not present";                    \
    } while (0)
