// Every file the program writes, read back by another reader (QSettings; the
// pictures in tst_vantrel_output); and what a full disk, a link planted in the
// folder do to it.
// Import files that are pipes, devices or endless: tst_module1.
#include "AtomicFile.h"
#include "AtomicFileWriter.h"
#include "HelpDocument.h"
#include "QuillError.h"
#include "SettingsStore.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "Files.h"
#include "common/ChildRun.h"

namespace {

// More than 1 KB through one of the program's writers; the message it raised
// or returned, the empty text on success.
QString writeBig(const QString &writer, const QString &path)
{
    try {
        if (writer == u"settings") {
            SettingsStore store(path);
            store.write(QStringLiteral("Form1"), QStringLiteral("Caption"), QString(2000, u'x'));
            return store.flush();
        }
        if (writer == u"help") { // the help's pages, in a cache at path
            qputenv("XDG_CACHE_HOME", QFile::encodeName(path));
            HelpDocument::writeUserPage();
            return {};
        }
        if (writer == u"late pipe") { // a pipe takes the name while the pieces are written
            AtomicFileWriter pieces(path);
            pieces.append(QByteArray(2000, 'x'));
            ::mkfifo(QFile::encodeName(path).constData(), 0600);
            pieces.commit();
            return {};
        }
        AtomicFile::write(path, QByteArray(2000, 'x'));
    } catch (const QuillError &error) {
        return error.description();
    }
    return {};
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private slots:
    void settingsRoundTrip_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        // Form1's Caption unless named; line: the line the file holds, where it is plain to a person too.
        const auto row = [](const char *name, const QString &text, const QString &section = "Form1",
                            const QString &key = "Caption", const QString &line = {}) {
            QTest::newRow(name) << section << key << text << line;
        };
        row("blanks in names", "-2880.36", "Label margins", "Font Name_1-2.3",
            "\nFont%20Name_1-2.3=-2880.36\n");
        row("plain to its last letters", "az_AZ-09.", "Form1", "Caption", "\nCaption=az_AZ-09.\n");
        row("blanks in a value", "Zebra 20", "Form1", "Caption", "\nCaption=\"Zebra 20\"\n");
        row("a tab", "a\tz", "Form1", "Caption", "\nCaption=\"a\\x9z\"\n");
        row("quotes", "say \"hi\" \"");
        row("looks like a variant", "@Variant(\\0\\0\\0\\x7f)");
        row("backslashes and controls", QStringLiteral("C:\\new\\x41\u0001f\n\f\a\v\b"), "Form1", "File");
        row("separators and comments", "a=b; c # %20");
        row("empty, in General", "", "General", "Title");
        row("not Latin-1", QStringLiteral("\u041f\u0440\u0438 \u6f22\u5b57"), "Form1",
            QStringLiteral("\u00e9"));
    }
    // Written over an older value, next to settings that must stay; read back
    // from a copy, so that no in-process cache answers.
    void settingsRoundTrip()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, line);
        const QTemporaryDir dir;
        const QString written = dir.filePath(QStringLiteral("written.conf"));
        const QString copy = dir.filePath(QStringLiteral("copy"));
        const QString page = QStringLiteral("Page margins");
        const QString left = QStringLiteral("Left");
        SettingsStore(written).write(section, key, QStringLiteral("older"));
        SettingsStore(written).write(page, left, QStringLiteral("720"));
        SettingsStore store(written);
        store.write(section, key, text);
        QCOMPARE(store.flush(), QString());
        QVERIFY(contents(written).contains(line.toLatin1()));
        QVERIFY(QFile::copy(written, copy));
        const QSettings reader(copy, QSettings::IniFormat);
        QCOMPARE(reader.value(section + u'/' + key), QVariant(text));
        QCOMPARE(reader.value(page + u'/' + left), QVariant(QStringLiteral("720")));
        QCOMPARE(reader.allKeys().size(), 2); // key case kept: no other spelling
        QCOMPARE(SettingsStore(copy, SettingsStore::Access::ReadOnly).read(section, key, {}), text);
    }

    // What QSettings wrote, its C escapes and all, reads back as it was.
    void settingsWrittenByQt()
    {
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qt.conf"));
        const QString text = QStringLiteral("a\tb\nc\rd\fe\vf\bg\ah\"i\\j\u0001k");
        QSettings(path, QSettings::IniFormat).setValue(QStringLiteral("Form1/Caption"), text);
        QCOMPARE(SettingsStore(path, SettingsStore::Access::ReadOnly).read("Form1", "Caption", {}), text);
    }

    void refusedPlaces_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("place");
        // A folder at the settings' place is refused when it is read, and left alone (tst_form1).
        const auto row = [](const char *name, const char *writer, const char *place) {
            QTest::newRow(name) << QString::fromLatin1(writer) << QString::fromLatin1(place);
        };
        row("bytes to a folder", "bytes", "a/b");
        row("bytes to a missing folder", "bytes", "missing/file");
        row("settings to a read-only folder", "settings", "a/new");
        row("bytes to a pipe", "bytes", "fifo");
        row("bytes to a link to a pipe", "bytes", "link to fifo");
        row("bytes to a character device", "bytes", "null");
        row("a pipe made while the pieces are written", "late pipe", "late");
        row("the help's pages where a pipe stands", "help", "fifo");
    }
    // A folder where the file should be, a missing folder (the settings make
    // theirs) or a read-only one; a pipe, a device or a link to one, left in
    // its place (also where the help's folder goes): a message naming the file.
    void refusedPlaces()
    {
        QFETCH(QString, writer);
        QFETCH(QString, place);
        const QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("a/b")));
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600) == 0);
        QVERIFY(QFile::link(dir.filePath("fifo"), dir.filePath("link to fifo")));
        // The null device's numbers: harmless even if written through.
        const dev_t null = makedev(1, 3);
        const QByteArray node = QFile::encodeName(dir.filePath(place));
        if (place == u"null" && ::mknod(node.constData(), S_IFCHR | 0600, null) != 0)
            QSKIP("mknod is not permitted here (it needs root): no character device to write to");
        const bool readOnly = place == u"a/new";
        if (readOnly && ::geteuid() == 0)
            QSKIP("root writes into a read-only folder");
        if (readOnly)
            QVERIFY(QFile::setPermissions(dir.filePath("a"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QString file = dir.filePath(place);
        const QString refusal = writeBig(writer, file);
        QFile::setPermissions(dir.filePath("a"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY2(refusal.contains(file), qPrintable(refusal));
        QVERIFY2(refusal.endsWith(u'.'), qPrintable(refusal));
        QVERIFY(!QFileInfo(file).isFile()); // nothing written in its place
        if (writer == u"help") // not that the folder exists
            QVERIFY2(refusal.endsWith(QString::fromLocal8Bit(strerror(ENOTDIR)) + u'.'), qPrintable(refusal));
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
