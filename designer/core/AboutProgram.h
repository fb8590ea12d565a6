#pragma once
#include <QString>

// What Help > About Quillmark tells of the program: its name and version, its
// licence and the libraries it runs with.
namespace AboutProgram {

QString version(); // the program's, "1.0"
QString title(); // the box's caption
QString text();

} // namespace AboutProgram
