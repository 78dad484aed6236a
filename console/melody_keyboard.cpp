#include "console/melody_keyboard.h"

#include <QMouseEvent>
#include <QPainter>

#include "console/melody_items.h"
#include "platform/sys/tick_count.h"

namespace {

constexpr int kWhiteKeysPerOctave = 7;

int WhiteNotesBefore(int note)
{
    int count = 0;
    for (int n = kFirstNote; n < note; ++n)
        if (!IsBlackNote(n))
            ++count;
    return count;
}

}  // namespace

TMelodyKeyboard::TMelodyKeyboard(QWidget* parent) : QWidget(parent), ticks_(GetTickCount)
{
    setObjectName("MelodyKeyboard");
}

QSize TMelodyKeyboard::sizeHint() const
{
    return {kOctaves * kWhiteKeysPerOctave * 16, 56};
}

QRect TMelodyKeyboard::KeyRect(int octave, int note) const
{
    const int k = width() / (kWhiteKeysPerOctave * kOctaves);
    const int left = (octave * kWhiteKeysPerOctave + WhiteNotesBefore(note)) * k;
    // A black key sits across the border before the next white key, two thirds of one wide.
    if (IsBlackNote(note))
        return QRect(left - k / 3, 0, (2 * k) / 3, height() / 2);
    return QRect(left, 0, k, height());
}

void TMelodyKeyboard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    const auto paintKeys = [&](bool black) {
        for (int octave = 0; octave < kOctaves; ++octave)
            for (int note = kFirstNote; note <= kLastNote; ++note) {
                if (IsBlackNote(note) != black)
                    continue;
                QRect key = KeyRect(octave, note);
                if (!black)
                    key.adjust(0, 0, -1, 0);   // a gap so neighbouring white keys stay apart
                // The held key shows in grey, so the black keys stay visible across a held white one.
                const bool pressed = note + kOctaveShift * octave == pressedKey_;
                const QColor normal = black ? Qt::black : Qt::white;
                const QColor held = black ? Qt::lightGray : Qt::gray;
                painter.fillRect(key, pressed ? held : normal);
            }
    };
    painter.fillRect(rect(), Qt::darkGray);
    paintKeys(false);
    paintKeys(true);
}

void TMelodyKeyboard::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    // Black keys lie on top of the white ones, so they are looked up first.
    for (bool black : {true, false})
        for (int octave = 0; octave < kOctaves; ++octave)
            for (int note = kFirstNote; note <= kLastNote; ++note)
                if (IsBlackNote(note) == black && KeyRect(octave, note).contains(at)) {
                    pressedKey_ = note + kOctaveShift * octave;
                    pressTick_ = ticks_();
                    update();
                    emit KeyPressed(octave, note);
                    return;
                }
}

void TMelodyKeyboard::mouseReleaseEvent(QMouseEvent*)
{
    if (pressedKey_ == kNoKey)
        return;
    pressedKey_ = kNoKey;
    update();
    emit KeyReleased(ticks_() - pressTick_);
}
