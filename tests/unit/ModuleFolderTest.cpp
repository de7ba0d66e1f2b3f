#include <gtest/gtest.h>

#include "app/ModuleFolder.h"

TEST(ModuleFolder, CutsBeforeTheLastSeparatorForwardSlashFirst)
{
    const struct {
        const wchar_t* path;
        const wchar_t* folder;
    } cases[] = {
        {L"E:\\CVNAI.exe", L"E:"},  // the last backslash
        {L"C:\\disc\\tools\\CVNAI.exe", L"C:\\disc\\tools"},
        {L"C:/disc\\sub\\CVNAI.exe", L"C:"},  // a forward slash wins, even before a later backslash
        {L"C:\\a/b\\c\\CVNAI.exe", L"C:\\a"},
        {L"CVNAI.exe", L"CVNAI.exe"},  // without a separator the folder is the path
        {L"", L""},
        {L"\\CVNAI.exe", L""},  // a separator at the start or the end
        {L"C:\\disc\\", L"C:\\disc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderOfModulePath<wchar_t>(c.path), c.folder);
    }
}
