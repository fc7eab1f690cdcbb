#pragma once

#include <QString>

// Whether ASql is at most one statement as PostgreSQL splits a text: no ';'
// outside string literals, quoted names, dollar quotes and comments, other
// than one followed by nothing but blanks and comments. An unterminated
// literal or comment counts as more, since the server might end it where
// this reading does not. Strings are read as they are with
// standard_conforming_strings on, which the plug-in's sessions set.
bool IsPgSingleStatement(const QString& ASql);
