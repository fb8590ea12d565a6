#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>

// The INI form the settings file and design files are kept in, as QSettings
// has always written and read them: [section] lines, key=value lines, names
// with %XX escapes, values in double quotes with C escapes where they are not
// plain, and a leading "@" doubled.
//
// Reading is ours, not QSettings': every value is the text it spells. An
// unquoted comma is part of the value (QSettings would make a list of it), and
// a value starting with "@" is that text (QSettings would take "@Rect(...)" for
// a typed value), only "@@" stands for one "@", as the writer spells it. A ";"
// outside double quotes starts a comment, a UTF-8 byte-order mark is passed over.
namespace IniText {

// Section -> key -> text; the section "" is INI's [General].
using Sections = QMap<QString, QMap<QString, QString>>;

QByteArray write(const Sections &sections);
// What the bytes hold, into sections (the last of a key repeated counts).
// False when part of them is not in the INI form (a line neither [section],
// key=value nor ;comment); what is in the form is read all the same.
bool read(const QByteArray &bytes, Sections *sections);

} // namespace IniText
