#pragma once
#include <QString>
#include <memory>

// A print job's working file where nobody else can reach it: a folder of mode
// 0700 made in the job's place (beside the PDF it becomes, or in the temporary
// folder for a queue), held open and locked while the job lives, with one
// file inside. Writers are given the file by this process's descriptor, so a
// folder or file swapped for a link from outside changes nothing: the bytes
// land in the file made here, and only that file is moved over the target.
// The working names are short, so they never limit the target's name.
class JobFolder {
public:
    static constexpr char kFileName[] = "job";

    // Sweeps the leftovers of killed runs from place first. Null with
    // *error set to the system's words when the folder cannot be made.
    static std::unique_ptr<JobFolder> make(const QString &place, QString *error);
    ~JobFolder(); // the file (unless installed) and the folder go

    JobFolder(const JobFolder &) = delete;
    JobFolder &operator=(const JobFolder &) = delete;

    // The file as this process and its children open it: /proc/<pid>/fd/<n>.
    QString filePath() const;
    // Why the file cannot grow: the system's words for the error one more
    // byte at its end meets (a full disk, a size limit), written through the
    // descriptor only.
    QString writeFailure() const;
    // Moves the file over target (a link there is replaced, never followed);
    // the empty text on success, else the system's words.
    QString install(const QString &target);
    // Writes the whole file to an open descriptor (standard output); the
    // empty text on success, else the system's words.
    QString copyTo(int descriptor) const;

private:
    JobFolder(QString place, int folder, int file, QByteArray name);

    QString m_place;
    int m_folder; // the private folder, locked
    int m_file; // the file in it, read and write
    QByteArray m_name; // the folder's name in place
    bool m_installed = false;
};
