#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>

#include "control/ole_control.h"
#include "tests/control/celvane_fixture.h"

namespace {

using namespace celvane;

// A container's site whose ambient user mode the test sets.
class Site final : public ComObject<IOleClientSite, IDispatch> {
public:
    explicit Site(QWidget* window) : window_(window) {}

    bool userMode = true;

    HRESULT GetContainerWindow(void** widget) override
    {
        *widget = window_;
        return S_OK;
    }
    HRESULT GetTypeInfoCount(uint32_t* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(uint32_t, LCID, ITypeInfo**) override { return TYPE_E_ELEMENTNOTFOUND; }
    HRESULT GetIDsOfNames(const IID&, const OLECHAR**, uint32_t, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, const IID&, LCID, uint16_t, DISPPARAMS*, VARIANT* result, EXCEPINFO*, uint32_t*) override
    {
        if (id != DISPID_AMBIENT_USERMODE)
            return DISP_E_MEMBERNOTFOUND;
        Variant::Bool(userMode).Detach(result);
        return S_OK;
    }

private:
    QWidget* window_;
};

void SaveScreenshot(QWidget* widget, const char* name)
{
    QDir().mkpath(GW_SCREENSHOT_DIR);
    widget->grab().save(QString(GW_SCREENSHOT_DIR "/") + name);
}

class DesignWindow : public CelvaneRegistry {};

TEST_F(DesignWindow, ShowsTheIconOnlyWhileTheContainerDesigns)
{
    QWidget container;
    container.resize(120, 80);
    container.show();
    ComPtr<IUnknown> control = Create<IUnknown>(CLSID_Celvane);
    ComPtr<IOleWindow> window = control.Query<IOleWindow>();
    ASSERT_TRUE(window);
    void* widget = nullptr;
    ASSERT_EQ(window->GetWindow(&widget), S_OK);
    auto* face = static_cast<QWidget*>(widget);
    EXPECT_EQ(face->size(), QSize(26, 26));
    EXPECT_EQ(face->minimumSize(), face->maximumSize());
    EXPECT_FALSE(face->isVisible());  // until the container says it designs

    ComPtr<Site> site = MakeComObject<Site>(&container);
    ASSERT_EQ(control.Query<IOleObject>()->SetClientSite(site.Get()), S_OK);
    EXPECT_EQ(face->parentWidget(), &container);
    EXPECT_FALSE(face->isVisible());  // a site alone says nothing of the user mode

    site->userMode = false;
    ComPtr<IOleControl> ole = control.Query<IOleControl>();
    ASSERT_EQ(ole->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE), S_OK);
    EXPECT_TRUE(face->isVisible());
    const QImage shot = face->grab().toImage();
    SaveScreenshot(face, "design_window.png");
    SaveScreenshot(&container, "design_window_in_container.png");
    // The handset's screen, drawn in lime, and its dark body around it.
    EXPECT_EQ(shot.pixelColor(13, 11), QColor(0x00, 0xFF, 0x00));
    EXPECT_EQ(shot.pixelColor(8, 16), QColor(0x80, 0x80, 0x80));

    site->userMode = true;
    ole->OnAmbientPropertyChange(DISPID_UNKNOWN);
    EXPECT_FALSE(face->isVisible());
    // Other ambient properties do not touch the window.
    site->userMode = false;
    ole->OnAmbientPropertyChange(-701);
    EXPECT_FALSE(face->isVisible());
}

} // namespace
