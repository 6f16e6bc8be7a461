#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>

// A list of UTF-8 texts, as the boxes of a window are compared in the tests.
inline QStringList L(std::initializer_list<const char*> texts) {
    QStringList l;
    for (const char* s : texts) l << QString::fromUtf8(s);
    return l;
}
