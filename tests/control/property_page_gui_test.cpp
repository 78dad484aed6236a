#include <gtest/gtest.h>

#include <QDir>
#include <QListWidget>
#include <QWidget>

#include "control/ole_control.h"
#include "tests/control/celvane_fixture.h"

namespace {

using namespace celvane;

class PropertyPage : public CelvaneRegistry {
protected:
    void SetUp() override
    {
        CelvaneRegistry::SetUp();
        control = Create<ICelvane>(CLSID_Celvane);
        page = Create<IPropertyPage>(CLSID_UnsolicitedIndicationPage);
        ASSERT_TRUE(page);
        IUnknown* objects[] = {control.Get()};
        ASSERT_EQ(page->SetObjects(1, objects), S_OK);
    }
    QListWidget* Items()
    {
        void* widget = nullptr;
        EXPECT_EQ(page->GetPageWindow(&widget), S_OK);
        return static_cast<QWidget*>(widget)->findChild<QListWidget*>("Unsolicited");
    }
    std::vector<bool> Checked()
    {
        std::vector<bool> checked;
        for (int i = 0; i < Items()->count(); ++i)
            checked.push_back(Items()->item(i)->checkState() == Qt::Checked);
        return checked;
    }
    int32_t Indications()
    {
        int32_t value = -1;
        control->get_UnsolicitedIndication(&value);
        return value;
    }

    ComPtr<ICelvane> control;
    ComPtr<IPropertyPage> page;
};

TEST_F(PropertyPage, ChecksExactlyTheItemsWhoseBitsAreSet)
{
    for (int32_t mask = 0; mask <= 0x0F; ++mask) {
        ASSERT_EQ(control->put_UnsolicitedIndication(mask), S_OK);
        ASSERT_EQ(page->Activate(nullptr), S_OK);
        std::vector<bool> expected;
        for (int i = 0; i < 4; ++i)
            expected.push_back((mask & (1 << i)) != 0);
        EXPECT_EQ(Checked(), expected) << mask;
    }
    QWidget* window = Items()->window();
    EXPECT_EQ(window->windowTitle(), "UnsolicitedIndication");
    EXPECT_EQ(Items()->item(1)->text(), "uindSMSStatusReport");
    QDir().mkpath(GW_SCREENSHOT_DIR);
    window->grab().save(GW_SCREENSHOT_DIR "/property_page.png");
}

TEST_F(PropertyPage, ApplyWritesTheCheckedBits)
{
    control->put_UnsolicitedIndication(0x0F);
    ASSERT_EQ(page->Activate(nullptr), S_OK);
    for (int i = 0; i < 4; ++i)
        Items()->item(i)->setCheckState(Qt::Unchecked);
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(Indications(), 0);

    Items()->item(1)->setCheckState(Qt::Checked);
    Items()->item(3)->setCheckState(Qt::Checked);
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(Indications(), 0x0A);
    EXPECT_EQ(page->Deactivate(), S_OK);
}

TEST_F(PropertyPage, TheListKeepsItsMarginsWhenThePageGrows)
{
    ASSERT_EQ(page->Activate(nullptr), S_OK);
    QWidget* window = Items()->window();
    EXPECT_EQ(window->size(), QSize(165, 109));
    EXPECT_EQ(Items()->geometry(), QRect(8, 8, 140, 66));
    window->resize(265, 209);
    EXPECT_EQ(Items()->geometry(), QRect(8, 8, 240, 166));
}

} // namespace
