#pragma once
// The launcher's pictures, drawn by code: the park background and the button
// faces in their normal and pressed looks.

#include <QImage>
#include <QRect>
#include <QString>

QImage DrawLauncherBackground(QSize size);
QImage DrawProgramButton(QSize size, int index, const QString& title, const QString& subtitle, bool pressed,
                         bool available);
QImage DrawQuitButton(QSize size, bool pressed);
