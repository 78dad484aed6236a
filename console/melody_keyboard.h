#pragma once
#include <QWidget>
#include <cstdint>
#include <functional>

// A piano keyboard of four octaves: pressing a key picks its octave and note, and how long it
// is held picks the note's duration.
class TMelodyKeyboard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kOctaves = 4;   // one per scale
    using TTickSource = std::function<uint32_t()>;

    explicit TMelodyKeyboard(QWidget* parent = nullptr);

    // The key of a note (1 = C ... 12 = H) in an octave counted from 0.
    QRect KeyRect(int octave, int note) const;

    // The key held down: note + 256 x octave; 0 while none is.
    int PressedKey() const { return pressedKey_; }

    // The millisecond clock that times a press; the platform's tick count unless replaced.
    void SetTickSource(TTickSource ticks) { ticks_ = std::move(ticks); }

    QSize sizeHint() const override;

signals:
    void KeyPressed(int octave, int note);
    // Only after a press that hit a key.
    void KeyReleased(uint32_t heldMs);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static constexpr int kOctaveShift = 256;
    static constexpr int kNoKey = 0;

    int pressedKey_ = kNoKey;
    uint32_t pressTick_ = 0;
    TTickSource ticks_;
};
