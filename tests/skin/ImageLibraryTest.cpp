#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ScopedHandles.h"
#include "imagelib/ximage.h"
#include "res/resource.h"
#include "skin/ImageLibrary.h"

namespace {
std::string ResourceBytes(UINT id, const wchar_t* type)
{
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
    if (resource == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(nullptr, resource);
    return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(nullptr, resource));
}
// The DLL beside this program is the one built with it: it loads.
class ImageLibrary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ImageLibraryReady()); }
};
}  // namespace

TEST_F(ImageLibrary, NullResourceIsRefused)
{
    CxImage image(CXIMAGE_FORMAT_UNKNOWN);
    EXPECT_FALSE(image.LoadResource(nullptr, CXIMAGE_FORMAT_PNG, nullptr));
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.MakeBitmap(nullptr), nullptr);
}

TEST_F(ImageLibrary, PngResourceDecodes)
{
    CxImage image(CXIMAGE_FORMAT_UNKNOWN);
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_NOTICE_BACKGROUND), L"PNG");
    ASSERT_TRUE(image.LoadResource(resource, CXIMAGE_FORMAT_PNG, nullptr));
    EXPECT_EQ(image.GetWidth(), 401u);
    EXPECT_EQ(image.GetHeight(), 156u);
}

TEST_F(ImageLibrary, BitmapOutlivesTheImage)
{
    HBITMAP bitmap = nullptr;
    {
        CxImage image(CXIMAGE_FORMAT_UNKNOWN);
        HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_QUESTION_BACKGROUND), L"PNG");
        ASSERT_TRUE(image.LoadResource(resource, CXIMAGE_FORMAT_PNG, nullptr));
        bitmap = image.MakeBitmap(nullptr);
        image.Destroy();
        EXPECT_FALSE(image.IsValid());
    }
    OwnedBitmap owned(bitmap);
    ASSERT_TRUE(owned);
    BITMAP info{};
    ASSERT_NE(GetObjectW(owned.Get(), sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth, 264);
    EXPECT_EQ(info.bmHeight, 156);
    MemoryDC dc(nullptr);
    SelectedObject selected(dc.Get(), owned.Get());
    const COLORREF band = GetPixel(dc.Get(), 100, 10);
    EXPECT_GT(GetBValue(band), GetRValue(band));
}

TEST_F(ImageLibrary, GarbageTruncatedAndWrongFormatsAreRefused)
{
    const std::string png = ResourceBytes(IDB_NOTICE_BACKGROUND, L"PNG");
    ASSERT_GT(png.size(), 100u);
    CxImage image(CXIMAGE_FORMAT_UNKNOWN);
    EXPECT_FALSE(image.Decode("not an image at all", 19, CXIMAGE_FORMAT_PNG));
    EXPECT_FALSE(image.Decode(png.data(), 40, CXIMAGE_FORMAT_PNG)) << "truncated";
    EXPECT_FALSE(image.Decode(png.data(), static_cast<DWORD>(png.size()), CXIMAGE_FORMAT_JPG)) << "not a JPEG";
    EXPECT_FALSE(image.Decode(png.data(), static_cast<DWORD>(png.size()), 77)) << "unknown type";
    EXPECT_FALSE(image.Decode(nullptr, 0, CXIMAGE_FORMAT_PNG));

    std::string corrupted = png;
    for (std::size_t i = 60; i < corrupted.size(); i += 7) {
        corrupted[i] = static_cast<char>(corrupted[i] ^ 0x5A);
    }
    EXPECT_FALSE(image.Decode(corrupted.data(), static_cast<DWORD>(corrupted.size()), CXIMAGE_FORMAT_PNG));
    EXPECT_FALSE(image.IsValid());

    EXPECT_TRUE(image.Decode(png.data(), static_cast<DWORD>(png.size()), CXIMAGE_FORMAT_UNKNOWN));
    EXPECT_EQ(image.GetWidth(), 401u);
}
