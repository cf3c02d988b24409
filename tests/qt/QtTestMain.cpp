#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

// The widgets need an application; without a display they draw offscreen. Listing the tests
// needs none.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
