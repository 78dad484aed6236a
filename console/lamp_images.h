#pragma once
#include <QIcon>

// The lamp images at their fixed positions: grey (off), then each colour dim and lit.
enum TLampImage { liGrey, liDimRed, liRed, liDimGreen, liGreen, liDimYellow, liYellow, liCount };

// Colour bases: a base and its lit image follow each other; grey has no lit form.
enum TLampColour { lcGrey = liGrey, lcRed = liDimRed, lcGreen = liDimGreen, lcYellow = liDimYellow };

// The image of a colour base: the lit one when asked for and the base has one.
int GlyphIndex(int base, bool lit);

// 16 x 16, drawn the same whether the button showing it is enabled or not.
QIcon LampIcon(int image);
