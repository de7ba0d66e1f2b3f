#include <gtest/gtest.h>

#include "app/ModuleFolder.h"

TEST(ModuleFolder, CutsAtLastBackslash)
{
    EXPECT_EQ(FolderOfModulePath<wchar_t>(L"E:\\CVNAI.exe"), L"E:");
    EXPECT_EQ(FolderOfModulePath<wchar_t>(L"C:\\disc\\tools\\CVNAI.exe"), L"C:\\disc\\tools");
}

TEST(ModuleFolder, ForwardSlashWinsEvenBeforeALaterBackslash)
{
    EXPECT_EQ(FolderOfModulePath<wchar_t>(L"C:/disc\\sub\\CVNAI.exe"), L"C:");
    EXPECT_EQ(FolderOfModulePath<wchar_t>(L"C:\\a/b\\c\\CVNAI.exe"), L"C:\\a");
}

TEST(ModuleFolder, WithoutSeparatorTheFolderIsThePath)
{
    EXPECT_EQ(FolderOfModulePath<wchar_t>(L"CVNAI.exe"), L"CVNAI.exe");
    EXPECT_EQ(FolderOfModulePath<wchar_t>(L""), L"");
}

TEST(ModuleFolder, SeparatorAtTheStartOrEnd)
{
    EXPECT_EQ(FolderOfModulePath<wchar_t>(L"\\CVNAI.exe"), L"");
    EXPECT_EQ(FolderOfModulePath<wchar_t>(L"C:\\disc\\"), L"C:\\disc");
}
