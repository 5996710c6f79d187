#include "framework/ImageList.h"

#include "framework/Resources.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

TEST(ImageListTest, BitmapStripIsCutIntoImagesAndIconsAreAppended)
{
    CImageList states;
    ASSERT_TRUE(states.CreateFromBitmap(IDB_DRIVE_STATES, 16, 1, RGB(255, 0, 0)));
    EXPECT_EQ(states.GetImageCount(), 4);
    EXPECT_FALSE(CImageList().CreateFromBitmap(4321, 16, 1, RGB(255, 0, 0)));

    CImageList icons;
    ASSERT_TRUE(icons.Create(32, 32, ILC_COLOR8 | ILC_MASK, 4, 4));
    const UniqueIcon icon = LoadIconResource(IDI_PAGE_GENERAL, 32);
    EXPECT_EQ(icons.Add(icon.get()), 0);
    EXPECT_EQ(icons.Add(icon.get()), 1);
    EXPECT_EQ(icons.Add(nullptr), -1);
    EXPECT_EQ(icons.GetImageCount(), 2);

    const HIMAGELIST handed = icons.Detach();
    EXPECT_EQ(icons.GetSafeHandle(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(handed), 2) << "the list outlives its former owner";
    ImageList_Destroy(handed);
}
