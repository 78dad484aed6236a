#pragma once
// The control-hosting interfaces a container and a control speak: the container's site with
// its ambient properties, the control's side of embedding, its window, its property pages.
// Windows cross as QWidget pointers (void* here, so hosts without Qt can include this).
#include <cstdint>

#include "platform/com/dispatch.h"

// Ambient properties, read through the site's IDispatch.
inline constexpr DISPID DISPID_AMBIENT_USERMODE = -709;

// Miscellaneous-status flags of a control class.
inline constexpr uint32_t OLEMISC_INVISIBLEATRUNTIME = 0x400;
inline constexpr uint32_t OLEMISC_ACTSLIKELABEL = 0x2000;
inline constexpr uint32_t OLEMISC_SIMPLEFRAME = 0x10000;

// The container's place for one control; it answers IDispatch for the ambient properties.
struct IOleClientSite : IUnknown {
    static constexpr IID kIID = MakeGuid("{00000118-0000-0000-C000-000000000046}");
    using Base = IUnknown;
    // Where the control's window goes: a QWidget, or null.
    virtual HRESULT GetContainerWindow(void** widget) = 0;

protected:
    ~IOleClientSite() = default;
};

struct IOleObject : IUnknown {
    static constexpr IID kIID = MakeGuid("{00000112-0000-0000-C000-000000000046}");
    using Base = IUnknown;
    virtual HRESULT SetClientSite(IOleClientSite* site) = 0;
    virtual HRESULT GetClientSite(IOleClientSite** site) = 0;

protected:
    ~IOleObject() = default;
};

// The control's window: a QWidget, or null where there is no GUI.
struct IOleWindow : IUnknown {
    static constexpr IID kIID = MakeGuid("{00000114-0000-0000-C000-000000000046}");
    using Base = IUnknown;
    virtual HRESULT GetWindow(void** widget) = 0;

protected:
    ~IOleWindow() = default;
};

// What the container tells the control.
struct IOleControl : IUnknown {
    static constexpr IID kIID = MakeGuid("{B196B288-BAB4-101A-B69C-00AA00341D07}");
    using Base = IUnknown;
    virtual HRESULT GetControlInfo(void* info) = 0;
    virtual HRESULT OnMnemonic(void* message) = 0;
    // DISPID_UNKNOWN: every ambient property may have changed.
    virtual HRESULT OnAmbientPropertyChange(DISPID id) = 0;
    virtual HRESULT FreezeEvents(int32_t freeze) = 0;

protected:
    ~IOleControl() = default;
};

// A counted array of GUIDs; the receiver frees pElems with free().
struct CAUUID {
    uint32_t cElems;
    GUID* pElems;
};

struct ISpecifyPropertyPages : IUnknown {
    static constexpr IID kIID = MakeGuid("{B196B28B-BAB4-101A-B69C-00AA00341D07}");
    using Base = IUnknown;
    virtual HRESULT GetPages(CAUUID* pages) = 0;

protected:
    ~ISpecifyPropertyPages() = default;
};

// A property page as its site drives it: the objects it edits, its window shown in a parent
// (a QWidget), and Apply writing its changes to the objects.
struct IPropertyPage : IUnknown {
    static constexpr IID kIID = MakeGuid("{B196B28D-BAB4-101A-B69C-00AA00341D07}");
    using Base = IUnknown;
    virtual HRESULT SetObjects(uint32_t count, IUnknown** objects) = 0;
    virtual HRESULT Activate(void* parentWidget) = 0;
    virtual HRESULT Deactivate() = 0;
    virtual HRESULT GetPageWindow(void** widget) = 0;
    virtual HRESULT Apply() = 0;

protected:
    ~IPropertyPage() = default;
};
