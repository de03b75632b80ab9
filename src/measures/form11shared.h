#pragma once
// What the files of the measure page (form11*.cpp) share.

#include <QLabel>
#include <QString>

namespace tav::form11 {

inline const QString kAdvice = QStringLiteral("Try again with new inputs");

// A caption written into a label; a label that sizes itself follows its text.
inline void setCaption(QLabel* l, const QString& text)
{
    l->setText(text);
    if (!l->wordWrap())
        l->adjustSize();
}

} // namespace tav::form11
