#include "runtime/fatal.h"

#include <gtest/gtest.h>

TEST(FatalErrorText, BuildsTheBoxTextFromCodeAndMessage) {
    EXPECT_EQ(FatalErrorText("不能整除于零"), "运行时出错!\r\n\r\n错误信息：不能整除于零\r\n");
    EXPECT_EQ(FatalErrorText("数组成员引用下标超出定义范围", kFatalIndexAboveCount),
              "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
    EXPECT_EQ(FatalErrorText("", 4), "运行时出错!\r\n\r\n错误代码：4\r\n\r\n");
}
