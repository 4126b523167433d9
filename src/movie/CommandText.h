// SPDX-License-Identifier: MIT
#pragma once

class QString;

// How the window's handlers compare a movie's command text.
namespace CommandText {

// The text read as a number equals n: surrounding blanks, a sign and
// leading zeros do not matter (" 1", "01" and "1" all equal 1); a text that
// is not a number, or not a whole one, equals no whole number.
bool equalsNumber(const QString &text, long long n);

} // namespace CommandText
