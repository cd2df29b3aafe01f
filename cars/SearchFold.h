#pragma once
// How the car search compares text: both what a clerk types and what is
// stored are folded to one form in Windows-1251 bytes, so that a search is
// a plain byte comparison.
//
// - Letters in capitals, Ё as Е.
// - The Latin letters that look like Cyrillic ones (A B E K M H O P C T Y X)
//   as those Cyrillic letters: plates and VINs are typed in either.
// - A plate without its blanks.
// - A phone without blanks, "+", "-", "(" and ")", and as its national number:
//   "+7 925 842-17-01", "8 (925) 842-17-01" and "9258421701" are the same.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <string>

namespace cars::fold {

// Stored before a national number, so that a search can start at it.
constexpr char kPhoneStart = '\x1E';

void appendText(std::string& out, QByteArrayView stored);
void appendPlate(std::string& out, QByteArrayView stored);
void appendPhone(std::string& out, QByteArrayView stored);  // kPhoneStart, then the number

// What a clerk typed, folded as text; nothing when it holds a character
// Windows-1251 has not (no stored text can hold it).
std::optional<std::string> text(const QString& typed);
// Folded typed text, without its blanks.
std::string withoutBlanks(const std::string& folded);
// Folded typed text as a part of a phone: signs left out.
std::string phonePart(const std::string& folded);
// Folded typed text as the beginning of a phone with its trunk or country
// code ("8…", "+7…", "7" and ten digits): kPhoneStart and the rest; empty
// when it is none of those.
std::string phoneStart(const std::string& folded);

}  // namespace cars::fold
