#pragma once
#include <QWidget>
#include <cstdint>
#include <vector>

// A message to the program's windows, delivered by a direct call of their handler.
struct TMessage {
    uint32_t Msg;
    intptr_t WParam;
    intptr_t LParam;
    intptr_t Result = 0;
};

// A top-level window of the program. Every form is in the application's form list from its
// creation to its destruction, in creation order; WndProc receives the program's private
// messages. GUI thread only.
class TForm : public QWidget {
public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    virtual void WndProc(TMessage& message);

    // The application's form list.
    static const std::vector<TForm*>& Forms();
};
