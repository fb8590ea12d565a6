#include "BenchDesigner.h"
#include "BenchTasks.h"
#include "Decode.h"
#include "Form1.h"
#include "KeystrokeTiming.h"
#include "ScriptedDialogs.h"
#include "Vantrel.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

// A 4 x 2.5 in label of 20 objects: the designer's Code128 symbol, two more
// symbols and nine texts from the typed value or fixed, four boxes and four
// lines. Lengths in inches.
const char *const twentyObjects = R"([Form1]
vtlw=5760
vtlh=3600
mesure=1
bartype=8
combo2=Liberation Sans
combo3=10

[Object1]
Kind=Box
Left=0
Top=0
Width=4
Height=2.5
Corner=0.1
Stroke=1

[Object2]
Kind=Designer symbol
Left=0.2
Top=0.2
Width=2.2
Height=0.85

[Object3]
Kind=Box
Left=2.6
Top=0.2
Width=1.2
Height=1
Stroke=0.5
Fill=#eeeeee

[Object4]
Kind=Text
Left=2.7
Top=0.25
Width=1
Height=0.3
Text={value}
Font=Liberation Sans
Size=14
Bold=1
Shrink=1

[Object5]
Kind=Text
Left=2.7
Top=0.6
Width=1
Height=0.25
Text=Lot {value}
Font=Liberation Sans
Size=9
Shrink=1

[Object6]
Kind=Text
Left=2.7
Top=0.9
Width=1
Height=0.25
Text=Best before 12/2031
Font=Liberation Serif
Size=7
Italic=1
Shrink=1

[Object7]
Kind=Line
Left=0.1
Top=1.3
Width=3.8
Height=0
Stroke=1

[Object8]
Kind=Symbol
Left=0.2
Top=1.4
Width=1.6
Height=0.6
Data={value}
Symbology=8
ShowText=1
Font=Liberation Sans
Size=7

[Object9]
Kind=Symbol
Left=2
Top=1.4
Width=1.9
Height=0.6
Data={value}
Symbology=6
ShowText=0

[Object10]
Kind=Line
Left=1.9
Top=1.35
Width=0
Height=0.7
Stroke=0.5
Color=#808080

[Object11]
Kind=Line
Left=0.1
Top=2.05
Width=3.8
Height=0
Stroke=0.5

[Object12]
Kind=Text
Left=0.2
Top=2.1
Width=0.9
Height=0.3
Text=Shop 12
Font=Liberation Sans
Size=10
Shrink=1

[Object13]
Kind=Text
Left=1.1
Top=2.1
Width=0.9
Height=0.3
Text=Aisle 4
Font=Liberation Sans
Size=10
Align=Center
Shrink=1

[Object14]
Kind=Box
Left=2.05
Top=2.1
Width=0.8
Height=0.3
Shape=Ellipse
Stroke=0.75
Color=#204060

[Object15]
Kind=Text
Left=2.1
Top=2.12
Width=0.7
Height=0.26
Text=Row {value}
Font=Liberation Sans
Size=8
Align=Center
Color=#204060
Shrink=1

[Object16]
Kind=Text
Left=2.95
Top=2.1
Width=0.65
Height=0.3
Text=12.50
Font=Liberation Sans
Size=12
Bold=1
Align=Right
Shrink=1

[Object17]
Kind=Text
Left=3.65
Top=2.08
Width=0.25
Height=0.37
Text=No. {n}
Font=Liberation Sans
Size=6
Rotation=90
Shrink=1

[Object18]
Kind=Line
Left=3.62
Top=2.08
Width=0
Height=0.37
Stroke=0.5

[Object19]
Kind=Box
Left=0.15
Top=1.35
Width=1.7
Height=0.7
Corner=0.05
Stroke=0.25
Color=#808080

[Object20]
Kind=Text
Left=0.2
Top=1.08
Width=2.2
Height=0.18
Text=Item {value}, packed {n}
Font=Liberation Sans
Size=7
Align=Center
Shrink=1
)";

// The symbols of the twenty-object label, each reading the typed value: their boxes in inches.
const QRectF twentyObjectsLabel(0, 0, 4, 2.5);
const QRectF twentyObjectsSymbols[] = {{0.2, 0.2, 2.2, 0.85}, {0.2, 1.4, 1.6, 0.6}, {2.0, 1.4, 1.9, 0.6}};

} // namespace

BenchResult runPreviewObjectsTask(qint64 keystrokes, const BenchOptions &options)
{
    BenchResult result{QStringLiteral("preview-objects"), keystrokes};
    QTemporaryDir work(QDir(options.workRoot).filePath(QStringLiteral("quillbench-preview-XXXXXX")));
    const QString design = work.filePath(QStringLiteral("twenty.qmdesign"));
    QFile file(design);
    if (!file.open(QIODevice::WriteOnly) || file.write(twentyObjects) < 0 || !file.flush()) {
        result.fail(QStringLiteral("cannot write ") + design);
        return result;
    }
    file.close();
    ScriptedDialogs dialogs;
    BenchDesigner designer(work.path(), dialogs);
    Form1 &form = designer.form();
    if (!form.openDesign(design)) {
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));
        return result;
    }
    designer.useFixedText(QStringLiteral("12345"));
    designer.waitUntilShown();
    result.add(QStringLiteral("objects"), QString::number(form.document().objects().size()));
    if (form.document().objects().size() != 20)
        result.fail(QStringLiteral("the design opened with %1 objects, not 20")
                        .arg(form.document().objects().size()));
    typeKeystrokes(form, keystrokes, result);

    // Each symbol cut from the preview on its own: zxing-cpp reads one linear symbol an image.
    const QImage preview = form.Vantrel1->grab().toImage();
    const double scaleX = preview.width() / twentyObjectsLabel.width();
    const double scaleY = preview.height() / twentyObjectsLabel.height();
    QStringList read;
    for (const QRectF &box : twentyObjectsSymbols) {
        const QRect pixels(int(box.x() * scaleX), int(box.y() * scaleY), int(box.width() * scaleX),
                           int(box.height() * scaleY));
        const QString shown = Decode::zxingOne(preview.copy(pixels));
        read << (shown.isEmpty() ? QStringLiteral("nothing") : shown);
        if (shown != form.Text1->text())
            result.fail(QStringLiteral("a symbol of the preview does not read as the typed data %1")
                            .arg(form.Text1->text()));
    }
    result.verified = QStringLiteral("preview symbols read ") + read.join(u',');
    if (!dialogs.messages.isEmpty())
        result.fail(dialogs.texts(true).join(QStringLiteral("; ")));
    return result;
}
