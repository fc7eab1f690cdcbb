#pragma once

#include <QString>

// Whether ASql is at most one statement as PostgreSQL splits a text: no ';'
// outside string literals, quoted names, dollar quotes and comments, other
// than one followed by nothing but blanks and comments. A "--" comment ends
// at a line feed or a carriage return; strings split only by blanks with a
// line break are one string, an E'' string's escapes going on through every
// part. An unterminated literal or comment counts as more, since the server
// might end it where this reading does not. Strings are read as they are
// with standard_conforming_strings on, which the plug-in's sessions set.
// This is a first reading that refuses a text before it reaches the server;
// the server's own parse (PgParse) has the last word.
bool IsPgSingleStatement(const QString& ASql);
