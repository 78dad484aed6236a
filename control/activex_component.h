#pragma once
// The framework that presents a component without a visible face as a control: a small
// design-time window showing the library's icon, visible only while the container is in design
// mode (its ambient user mode is false), and the control's part of the persisted stream.
#include <cstdint>

#include "control/ole_control.h"
#include "platform/com/com_object.h"
#include "platform/sys/stream.h"

class TActiveXComponentControl;

// What every such control has, whatever its interfaces.
class TActiveXFrame {
public:
    // User mode starts true, so the window (made only where a Qt application runs) is hidden.
    TActiveXFrame();
    ~TActiveXFrame();
    TActiveXFrame(const TActiveXFrame&) = delete;
    TActiveXFrame& operator=(const TActiveXFrame&) = delete;

    HRESULT SetClientSite(IOleClientSite* site);
    HRESULT GetClientSite(IOleClientSite** site);
    // The container's ambient user mode, read through the site's IDispatch; kept when the site
    // does not answer.
    void ReadUserMode();
    // True when this call unfroze the events.
    bool FreezeEvents(bool freeze);

    int32_t UserMode() const { return userMode_; }
    void UpdateDesignWindow();
    // The window as a QWidget, or null.
    void* Window() const;

    // The framework's block at the start of the persisted stream: self-delimiting, so a reader
    // that does not know its contents can step over it. A damaged block raises EReadError.
    void WriteBlock(TStream& stream) const;
    void ReadBlock(TStream& stream);

private:
    int32_t userMode_ = -1;
    ComPtr<IOleClientSite> site_;
    int frozen_ = 0;
    TActiveXComponentControl* window_ = nullptr;
};

// A control class: its own Parts plus the framework's interfaces.
template <class... Parts>
class TActiveXComponent : public ComObject<Parts..., IOleObject, IOleControl, IOleWindow> {
public:
    HRESULT SetClientSite(IOleClientSite* site) override { return frame_.SetClientSite(site); }
    HRESULT GetClientSite(IOleClientSite** site) override { return frame_.GetClientSite(site); }
    HRESULT GetWindow(void** widget) override
    {
        if (!widget)
            return E_POINTER;
        *widget = frame_.Window();
        return *widget ? S_OK : E_FAIL;
    }
    HRESULT GetControlInfo(void*) override { return E_NOTIMPL; }
    HRESULT OnMnemonic(void*) override { return E_NOTIMPL; }
    HRESULT OnAmbientPropertyChange(DISPID id) override
    {
        if (id == DISPID_UNKNOWN || id == DISPID_AMBIENT_USERMODE) {
            frame_.ReadUserMode();
            UpdateDesignWindow();
        }
        return S_OK;
    }
    HRESULT FreezeEvents(int32_t freeze) override
    {
        if (frame_.FreezeEvents(freeze != 0))
            EventsUnfrozen();
        return S_OK;
    }

protected:
    virtual void UpdateDesignWindow() { frame_.UpdateDesignWindow(); }
    virtual void EventsUnfrozen() {}

    TActiveXFrame frame_;
};

// The registration of such a class adds what its window needs of the container.
inline constexpr uint32_t kActiveXComponentMiscStatus =
    OLEMISC_INVISIBLEATRUNTIME | OLEMISC_ACTSLIKELABEL | OLEMISC_SIMPLEFRAME;
