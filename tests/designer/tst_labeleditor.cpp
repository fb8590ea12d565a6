// The label canvas in the designer window, driven as a user drives it: the
// Insert menu, the mouse and keys on the canvas, the property panel, the
// specified controls, undo and redo, the clipboard and the data's rows.
#include "Decode.h"
#include "DesignerSession.h"
#include "LabelCanvas.h"
#include "LabelEditor.h"
#include "ObjectPanel.h"

namespace {

const QString kExamples = QStringLiteral(QUILLMARK_SOURCE "/docs/examples");

// The shelf label of the examples with its data, copied where the test may change them.
QString shelfCopy(const DesignerSession &session)
{
    for (const char *name : {"shelf.qmdesign", "shelf.csv"})
        QFile::copy(kExamples + u'/' + QLatin1String(name), session.dir.filePath(QLatin1String(name)));
    return session.dir.filePath(QStringLiteral("shelf.qmdesign"));
}

QStringList menuTitles(QMainWindow &window)
{
    QStringList titles;
    for (QAction *action : window.menuBar()->actions())
        titles << action->text();
    return titles;
}

// The canvas's pixels of a box on the label.
QImage shown(LabelCanvas &canvas, const QRectF &twips)
{
    const QRect area(canvas.viewportPoint(twips.topLeft()), canvas.viewportPoint(twips.bottomRight()));
    return Decode::label(canvas.viewport()->grab().toImage(), area);
}

void drag(LabelCanvas &canvas, const QPointF &from, const QPointF &to, Qt::KeyboardModifiers keys = {})
{
    QWidget *viewport = canvas.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, keys, canvas.viewportPoint(from));
    QTest::mouseMove(viewport, canvas.viewportPoint((from + to) / 2));
    QTest::mouseMove(viewport, canvas.viewportPoint(to));
    QTest::mouseRelease(viewport, Qt::LeftButton, keys, canvas.viewportPoint(to));
}

QRectF boxAt(const Form1 &f, std::size_t index) { return LabelLayout::boxOf(f.document(), index); }

} // namespace

class TestLabelEditor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ::alarm(120); }

    // A design without added objects keeps the preview; each kind inserted
    // brings the canvas, the panel and the toolbar, and is one step to undo.
    void insertEachKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("text") << "Text";
        QTest::newRow("symbol") << "Symbol";
        QTest::newRow("picture") << "Picture";
        QTest::newRow("line") << "Line";
        QTest::newRow("box") << "Box";
    }

    void insertEachKind()
    {
        QFETCH(QString, kind);
        DesignerSession session;
        Form1 &f = session.start();
        QVERIFY(session.activate());
        LabelEditor &editor = f.editor();
        const QStringList menus{"&File", "&Insert", "&Edit", "&View", "&Action", "&Help"};
        QCOMPARE(menuTitles(f), menus);
        session.dialogs.openAnswer = kExamples + QStringLiteral("/shipping-logo.svg");
        for (QAction *action : editor.insertMenu->actions())
            if (action->text().remove(u'&').startsWith(kind))
                action->trigger();
        QCOMPARE(f.document().objects().size(), std::size_t(2));
        QCOMPARE(LabelObjects::kindName(f.document().objects().back()), kind);
        QVERIFY(editor.canvas()->isVisible());
        QVERIFY(!f.Vantrel1->isVisible());
        QCOMPARE(editor.canvas()->selection(), LabelLayout::Selection{1});
        f.resize(f.size() + QSize(120, 90)); // the canvas follows the preview's frame
        QCOMPARE(editor.canvas()->geometry(), f.Picture1->contentsRect());
        QCOMPARE(editor.undo->text(), "&Undo Insert " + kind);
        editor.undo->trigger();
        QVERIFY(!f.document().hasAddedObjects());
        editor.redo->trigger();
        QCOMPARE(LabelObjects::kindName(f.document().objects().back()), kind);
    }

    // Steps of the canvas, the panel and the specified controls undone one by
    // one lead back to the design as it was saved, byte for byte, and redone
    // to where they went.
    void undoToSavedDesign()
    {
        DesignerSession session;
        Form1 &f = session.start();
        QVERIFY(session.activate());
        const QString file = shelfCopy(session);
        QVERIFY(f.openDesign(file));
        f.mnuSaveDesign_Click(); // as the program writes it
        const QByteArray saved = contents(file);
        LabelEditor &editor = f.editor();
        LabelCanvas &canvas = *editor.canvas();

        editor.insertBox->trigger();
        const QRectF inserted = boxAt(f, 5);
        drag(canvas, inserted.center(), inserted.center() + QPointF(144, 72));
        QCOMPARE(editor.undo->text(), QStringLiteral("&Undo Move Box"));
        const QRectF moved = boxAt(f, 5);
        drag(canvas, moved.bottomRight(), moved.bottomRight() + QPointF(144, 72));
        QCOMPARE(editor.undo->text(), QStringLiteral("&Undo Resize Box"));
        BoxObject thicker = std::get<BoxObject>(f.document().objects()[5]);
        thicker.strokePoints = 3;
        emit editor.panel()->edited(QStringLiteral("Change Stroke"), thicker);
        canvas.setSelection({2, 4});
        editor.align[0]->trigger();
        QCOMPARE(boxAt(f, 4).left(), boxAt(f, 2).left());
        f.Text4->setFocus();
        QTest::keyClicks(f.Text4, "shelf.csv");
        f.Combo1->setFocus();
        f.Combo1->setCurrentIndex(3);
        QCOMPARE(editor.undo->text(), QStringLiteral("&Undo Change Symbol"));
        const LabelDocument changed = f.document();

        int steps = 0;
        while (editor.undo->isEnabled()) {
            editor.undo->trigger();
            ++steps;
        }
        QCOMPARE(steps, 7); // insert, move, resize, stroke, align, the typed file name, the symbology
        QVERIFY(!f.designChanged());
        f.mnuSaveDesign_Click();
        QCOMPARE(contents(file), saved);
        while (editor.redo->isEnabled())
            editor.redo->trigger();
        QVERIFY(f.document() == changed);
        QCOMPARE(f.Combo1->currentIndex(), 3);
    }

    // Objects added to a new design live nowhere else: leaving it asks, and
    // saving names a file; undone back to nothing, nothing is asked. An object
    // past the label's edge is marked, and saved and opened again as it stands.
    void newDesignKept()
    {
        DesignerSession session;
        Form1 &f = session.start();
        f.editor().insertBox->trigger();
        f.editor().undo->trigger();
        f.mnuNewDesign_Click();
        QCOMPARE(session.dialogs.questions, QStringList());
        f.Text1->setText(QStringLiteral("changed")); // the hidden canvas's label made anew
        f.editor().insertBox->trigger();
        std::vector<LabelObject> objects = f.document().objects();
        std::get<BoxObject>(objects[1]).frame.box.moveLeft(f.document().width() - 100);
        std::get<BoxObject>(objects[1]).cornerTwips = 3 * f.document().width();
        f.editor().commit(QStringLiteral("Move Box"), objects);
        QVERIFY(f.editor().canvas()->faultAt(1).contains("reaches outside the label"));
        session.dialogs.saveChangesAnswer = DialogProvider::SaveChanges::Save;
        session.dialogs.saveAnswer = session.dir.filePath("kept");
        f.mnuNewDesign_Click();
        QCOMPARE(session.dialogs.questions, QStringList{"Save the objects of this new design?"});
        QVERIFY(!f.document().hasAddedObjects());
        QVERIFY(f.openDesign(session.dir.filePath("kept.qmdesign")));
        QVERIFY(f.document().objects() == objects);
        QVERIFY(!f.editor().canvas()->faultAt(1).isEmpty());
    }

    // Objects copied in one window are pasted in another where they were,
    // and pasted again a little further on.
    void copyBetweenWindows()
    {
        DesignerSession from;
        DesignerSession to;
        Form1 &source = from.start();
        Form1 &target = to.start();
        QVERIFY(source.openDesign(shelfCopy(from)));
        source.editor().canvas()->setSelection({2, 3});
        source.editor().copy->trigger();
        target.setSymbolSize(true, "3", "2");
        target.editor().paste->trigger(); // into a label that had none: the canvas comes
        QVERIFY(target.editor().canvas()->isVisibleTo(&target));
        QCOMPARE(target.editor().undo->text(), QStringLiteral("&Undo Paste 2 Objects"));
        // The designer's symbol goes as a symbol of its own, where it was.
        QCOMPARE(LabelObjects::kindName(target.document().objects()[2]), QStringLiteral("Symbol"));
        QCOMPARE(boxAt(target, 2), boxAt(source, 3));
        QCOMPARE(std::get<TextObject>(target.document().objects()[1]).text, QStringLiteral("€ {price}"));
        target.editor().paste->trigger();
        QCOMPARE(boxAt(target, 4), boxAt(source, 3).translated(144, 144));
        // Pasted on a smaller label, they are moved onto it.
        target.setSymbolSize(true, "2.5", "1");
        target.editor().paste->trigger();
        QCOMPARE(boxAt(target, 6).bottom(), target.document().height());
        target.editor().canvas()->setSelection({0});
        target.editor().remove->trigger();
        QCOMPARE(target.document().objects().size(), std::size_t(7)); // the designer's symbol stays
    }

    // The canvas shows the label of the row chosen; a template naming a
    // column the data lacks is marked on its object.
    void dataRows()
    {
        DesignerSession session;
        Form1 &f = session.start();
        QVERIFY(session.activate());
        QVERIFY(f.openDesign(shelfCopy(session)));
        f.Text4->setText(session.dir.filePath("shelf.csv"));
        LabelEditor &editor = f.editor();
        LabelCanvas &canvas = *editor.canvas();
        QCOMPARE(editor.labelShown->text(), QStringLiteral("Label 1 of 3"));
        const QRectF symbol = boxAt(f, 3);
        QCOMPARE(Decode::zxingOne(shown(canvas, symbol)), QStringLiteral("4012345000016"));
        editor.nextLabel->trigger();
        QCOMPARE(editor.labelShown->text(), QStringLiteral("Label 2 of 3"));
        QCOMPARE(Decode::zxingOne(shown(canvas, symbol)), QStringLiteral("4012345000184"));
        std::vector<LabelObject> objects = f.document().objects();
        std::get<TextObject>(objects[4]).text = QStringLiteral("{stock}");
        editor.commit(QStringLiteral("Change Text"), objects);
        QVERIFY2(canvas.faultAt(4).contains("stock"), qPrintable(canvas.faultAt(4)));
    }
};

QTEST_MAIN(TestLabelEditor)
#include "tst_labeleditor.moc"
