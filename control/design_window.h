#pragma once
// The design-time window of a control without a visible face: 26 x 26 pixels showing the
// library's icon, hidden at run time.
#include <QWidget>

class TActiveXComponentControl : public QWidget {
public:
    static constexpr int kSide = 26;

    // None where no Qt application runs: a control in a program without a GUI has no window.
    static TActiveXComponentControl* Create();

    // Visible and in design state while the container designs, hidden otherwise; repaints.
    void ShowForDesign(bool designing);
    bool Designing() const { return designing_; }
    // The container's window (a QWidget), or none.
    void SetParentWidget(void* parent);
    void* Widget() { return static_cast<QWidget*>(this); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TActiveXComponentControl();

    QImage icon_;
    bool designing_ = false;
};
