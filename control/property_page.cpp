#include "control/property_page.h"

#include <QListWidget>
#include <QMessageBox>
#include <QResizeEvent>

#include "control/ole_control.h"
#include "platform/com/error_info.h"
#include "platform/com/ole_error.h"

namespace {

constexpr const char* kItems[] = {"uindSMSDeliver", "uindSMSStatusReport", "uindCellBroadcast",
                                  "uindOnlyIndication"};
constexpr QSize kClientSize(165, 109);
constexpr QRect kListBounds(8, 8, 140, 66);
constexpr int kItemHeight = 13;
constexpr const char16_t* kProperty = u"UnsolicitedIndication";

DISPID PropertyId(IDispatch* control)
{
    DISPID id = DISPID_UNKNOWN;
    const OLECHAR* names[] = {kProperty};
    OleCheck(control->GetIDsOfNames(GUID_NULL, names, 1, 0, &id));
    return id;
}

// A failed dispatched call with the description its EXCEPINFO carries.
void CheckInvoke(HRESULT hr, EXCEPINFO& exception)
{
    if (SUCCEEDED(hr))
        return;
    if (hr == DISP_E_EXCEPTION) {
        std::string description = NarrowBstr(exception.bstrDescription);
        const HRESULT code = exception.scode;
        ClearExcepInfo(&exception);
        throw EOleSysError(code, description);
    }
    OleCheck(hr);
}

int32_t ReadMask(IDispatch* control)
{
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Variant value;
    EXCEPINFO exception{};
    CheckInvoke(control->Invoke(PropertyId(control), GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, &exception,
                                nullptr),
                exception);
    return value.ToInt();
}

void WriteMask(IDispatch* control, int32_t mask)
{
    Variant value = Variant::I4(mask);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &put, 1, 1};
    EXCEPINFO exception{};
    CheckInvoke(control->Invoke(PropertyId(control), GUID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, &exception,
                                nullptr),
                exception);
}

} // namespace

TCelvaneUnsolicitedIndicationPropertyPage::TCelvaneUnsolicitedIndicationPropertyPage(QWidget* parent)
    : QWidget(parent), unsolicited_(new QListWidget(this))
{
    setWindowTitle("UnsolicitedIndication");
    resize(kClientSize);
    unsolicited_->setObjectName("Unsolicited");
    unsolicited_->setGeometry(kListBounds);
    for (const char* name : kItems) {
        auto* item = new QListWidgetItem(name, unsolicited_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setSizeHint(QSize(0, kItemHeight));
    }
}

void TCelvaneUnsolicitedIndicationPropertyPage::resizeEvent(QResizeEvent* event)
{
    // Anchored on all four sides: the margins stay as designed.
    const QSize grown = event->size() - kClientSize;
    unsolicited_->setGeometry(kListBounds.adjusted(0, 0, grown.width(), grown.height()));
    QWidget::resizeEvent(event);
}

void TCelvaneUnsolicitedIndicationPropertyPage::UpdatePropertyPage(IDispatch* control)
{
    try {
        for (int i = 0; i < unsolicited_->count(); ++i) {
            const bool set = (ReadMask(control) & (1 << i)) != 0;
            unsolicited_->item(i)->setCheckState(set ? Qt::Checked : Qt::Unchecked);
        }
    } catch (const Exception& e) {
        QMessageBox::warning(this, QString(), QString::fromStdString(e.Message()), QMessageBox::Ok);
    }
}

void TCelvaneUnsolicitedIndicationPropertyPage::UpdateObject(IDispatch* control)
{
    WriteMask(control, 0);
    for (int i = 0; i < unsolicited_->count(); ++i)
        if (unsolicited_->item(i)->checkState() == Qt::Checked)
            WriteMask(control, ReadMask(control) | (1 << i));
}

namespace {

// The page as its site drives it.
class UnsolicitedIndicationPage final : public ComObject<IPropertyPage, SupportErrorInfo<IPropertyPage>> {
public:
    ~UnsolicitedIndicationPage() override { delete page_; }

    HRESULT SetObjects(uint32_t count, IUnknown** objects) override
    {
        control_.Reset();
        if (count > 0 && objects && objects[0])
            objects[0]->QueryInterface(IID_PPV_ARGS(control_.Out()));
        return S_OK;
    }
    HRESULT Activate(void* parentWidget) override
    {
        if (!control_)
            return E_UNEXPECTED;
        delete page_;
        page_ = new TCelvaneUnsolicitedIndicationPropertyPage(static_cast<QWidget*>(parentWidget));
        page_->UpdatePropertyPage(control_.Get());
        page_->show();
        return S_OK;
    }
    HRESULT Deactivate() override
    {
        delete page_;
        page_ = nullptr;
        return S_OK;
    }
    HRESULT GetPageWindow(void** widget) override
    {
        if (!widget)
            return E_POINTER;
        *widget = static_cast<QWidget*>(page_);
        return page_ ? S_OK : E_FAIL;
    }
    HRESULT Apply() override
    {
        return SafeCall(IPropertyPage::kIID, "Celvane.UnsolicitedIndicationPage", [&] {
            if (!page_ || !control_)
                throw Exception("The property page is not active");
            page_->UpdateObject(control_.Get());
        });
    }

private:
    ComPtr<IDispatch> control_;
    TCelvaneUnsolicitedIndicationPropertyPage* page_ = nullptr;
};

} // namespace

HRESULT CreateUnsolicitedIndicationPage(const IID& iid, void** object)
{
    return CreateComObject<UnsolicitedIndicationPage>(iid, object);
}
