// CString: formatting, MFC's clamping, ANSI text under code page 936.
#include <afxwin.h>
#include <gtest/gtest.h>

#include "afx_test_ids.h"
#include "support/Drive.h"

TEST(AfxCString, FormatsNumbersAndWideStrings)
{
    CString s;
    s.Format(L"%.2f", 0.5f);
    EXPECT_EQ(s, L"0.50");
    s.Format(L"%f", 2.0f / 3.0f);
    EXPECT_EQ(s, L"0.666667");
    s.Format(L"%f", 100.0f);
    EXPECT_EQ(s, L"100.000000");
    s.Format(L"%d", -42);
    EXPECT_EQ(s, L"-42");
    s.Format(L"失败次数:      %d", 7);
    EXPECT_EQ(s, L"失败次数:      7");
    s.Format(L"[%s|%s]", L"你好", CString(L"ab").GetString());
    EXPECT_EQ(s, L"[你好|ab]");
}

TEST(AfxCString, FormatsLongTextBeyondAnyFirstBuffer)
{
    std::wstring big(5000, L'字');
    CString s;
    s.Format(L"<%s>", big.c_str());
    ASSERT_EQ(s.GetLength(), 5002);
    EXPECT_EQ(std::wstring(s.GetString() + 1, 5000), big);
}

TEST(AfxCString, LeftAndGetAtClampLikeMfc)
{
    const CString s(L"abcdef");
    EXPECT_EQ(s.Left(2), L"ab");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Left(99), L"abcdef");
    EXPECT_EQ(s.GetAt(6), L'\0');
    EXPECT_EQ(s.GetAt(-1), L'\0');
}

TEST(AfxCString, DeleteRemovesTheLastCharacterOfASpelling)
{
    CString spelling(L"nei5");
    EXPECT_EQ(spelling.Delete(spelling.GetLength() - 1, 1), 3);
    EXPECT_EQ(spelling, L"nei");

    CString s(L"abc");
    EXPECT_EQ(s.Delete(1, 99), 1);
    EXPECT_EQ(s, L"a");
    EXPECT_EQ(s.Delete(5), 1);  // past the end: nothing
    EXPECT_EQ(s.Delete(0, 0), 1);
    CString empty;
    EXPECT_EQ(empty.Delete(empty.GetLength() - 1, 1), 0);  // -1 counts from 0
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(AfxCString, AnsiTextIsReadWithCodePage936)
{
    ASSERT_EQ(::GetACP(), 936u) << "tests run under LC_ALL=zh_CN.UTF-8";
    const CString hello("\xC4\xE3\xBA\xC3");  // 你好 in GBK
    EXPECT_EQ(hello, L"你好");
    CString prefix("\xD5\xFD\xC8\xB7\xC2\xCA:");  // 正确率:
    prefix += CString(L"0.50");
    EXPECT_EQ(prefix, L"正确率:0.50");
    CString assigned;
    assigned = "C:\\Program Files\\";
    EXPECT_EQ(assigned, L"C:\\Program Files\\");
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
}

TEST(AfxCString, ComparesAndConcatenates)
{
    CString a(L"好");
    EXPECT_TRUE(a == L"好");
    EXPECT_TRUE(L"好" == a);
    EXPECT_TRUE(a != L"你");
    EXPECT_EQ(L"你" + a + CString(L'!'), L"你好!");
    CString withNul(L"a\0b", 3);
    EXPECT_EQ(withNul.GetLength(), 3);
    EXPECT_FALSE(withNul == CString(L"a"));
}

TEST(AfxCString, LoadsStringsFromTheModule)
{
    CString s;
    EXPECT_TRUE(s.LoadString(IDS_GREETING));
    EXPECT_EQ(s, L"你好，世界");
    EXPECT_FALSE(s.LoadString(9999));
    EXPECT_TRUE(s.IsEmpty());
}
