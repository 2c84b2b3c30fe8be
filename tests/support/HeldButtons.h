#pragma once
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

namespace glimt::test {

// Every mouse event QTest makes carries the buttons it believes held: a test that presses a
// button and never releases it (a release "lost" outside the window must still be sent to some
// other widget) changes what every later test's mouse events say. This listener names such
// tests, and the program fails at its end when there were any, whatever order the tests ran in.
class HeldButtonsCheck : public ::testing::EmptyTestEventListener {
public:
    // Installs the check once for the test program; call from a namespace-scope initialiser.
    static bool Install()
    {
        auto* check = new HeldButtonsCheck;
        ::testing::UnitTest::GetInstance()->listeners().Append(check);
        ::testing::AddGlobalTestEnvironment(new Reporter(*check));
        return true;
    }

    void OnTestEnd(const ::testing::TestInfo& test) override
    {
        if (QTestPrivate::qtestMouseButtons == Qt::NoButton)
            return;
        m_leaks << QString::fromLatin1(test.test_suite_name()) + QLatin1Char('.') + QString::fromLatin1(test.name());
        QTestPrivate::qtestMouseButtons = Qt::NoButton; // the next test starts clean
    }

private:
    class Reporter : public ::testing::Environment {
    public:
        explicit Reporter(const HeldButtonsCheck& check) : m_check(check) {}
        void TearDown() override
        {
            EXPECT_TRUE(m_check.m_leaks.isEmpty())
                << "tests that ended with mouse buttons held: " << m_check.m_leaks.join(QStringLiteral(", ")).toStdString();
        }

    private:
        const HeldButtonsCheck& m_check;
    };

    QStringList m_leaks;
};

} // namespace glimt::test
