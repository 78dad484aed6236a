#pragma once
// The property page of the control's UnsolicitedIndication: one check box per indication,
// item i for bit i.
#include <QWidget>

#include "control/celvane_tlb.h"

class QListWidget;

class TCelvaneUnsolicitedIndicationPropertyPage : public QWidget {
public:
    explicit TCelvaneUnsolicitedIndicationPropertyPage(QWidget* parent = nullptr);

    // Checks item i exactly when bit i is set, reading the property by name. A failure shows
    // its message in a message box; the page stays open.
    void UpdatePropertyPage(IDispatch* control);
    // Writes 0, then adds the bit of each checked item in turn. Failures raise EOleSysError.
    void UpdateObject(IDispatch* control);

    QListWidget* Unsolicited() const { return unsolicited_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QListWidget* unsolicited_;
};

HRESULT CreateUnsolicitedIndicationPage(const IID& iid, void** object);
