#pragma once

#include <QString>

// AText as a terminal or a text file may show it: control characters (line
// breaks, tabs, the escape that starts a terminal command, NUL, and the
// marks that turn the direction of text around) written as escapes ("\n",
// "\x1b", "\u202e"), so a name taken from the database can neither forge a
// line nor command the terminal. Ordinary text, Chinese included, is
// unchanged.
QString PrintableText(const QString& AText);
// Whether AText holds a character PrintableText escapes.
bool HasControlCharacters(const QString& AText);
// Whether PrintableText escapes AChar.
bool IsControlCharacter(QChar AChar);
