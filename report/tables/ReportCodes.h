#pragma once

// The grid codes the table layouts use.

// Alignments: vertically centred, and left, right or centred.
constexpr int AlignLabel = 33;
constexpr int AlignAmount = 34;
constexpr int AlignCentred = 36;
constexpr int AlignName = 32;

// Row styles.
constexpr int StyleOrdinary = 0;
constexpr int StyleTotal = 2;

// The note for amounts that are, for now, paid through their former
// channel (payment channel 31).
inline constexpr const char FormerChannelNote[] = "暂按原渠道拨付";

// The line on every printed page: &S the page total, &P the page number.
inline constexpr const char PageLine[] = "共&S页第&P页";

// The rows the tables are appended after: templates end at row 7.
constexpr int FirstTableRow = 8;
