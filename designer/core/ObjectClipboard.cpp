#include "ObjectClipboard.h"

#include "Design.h"
#include "DesignCodec.h"
#include "QuillError.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

namespace {

QuillError notObjects() { return QuillError(QStringLiteral("The clipboard holds no objects to paste.")); }

} // namespace

QString ObjectClipboard::mimeType() { return QStringLiteral("application/x-quillmark-objects"); }

QByteArray ObjectClipboard::copied(const LabelDocument &document, const std::vector<std::size_t> &selection)
{
    std::vector<std::size_t> places = selection;
    std::sort(places.begin(), places.end());
    SymbolObject symbol = document.symbol();
    symbol.place.reset();
    std::vector<LabelObject> objects{symbol};
    for (const std::size_t place : places) {
        if (place >= document.objects().size())
            continue;
        const LabelObject &object = document.objects()[place];
        if (const auto *designer = std::get_if<SymbolObject>(&object)) {
            BarcodeObject copy{.frame = {.box = document.symbolBox(), .rotation = designer->rotation}};
            copy.symbol = *designer;
            copy.symbol.place.reset();
            copy.symbol.rotation = SymbolObject::Rotation::None; // the frame turns it
            objects.push_back(copy);
        } else {
            objects.push_back(object);
        }
    }
    if (objects.size() == 1)
        return {};
    LabelDocument holder = document;
    holder.setObjects(objects);
    return DesignCodec::written(holder).fileText();
}

std::vector<LabelObject> ObjectClipboard::pasted(const QByteArray &text)
{
    if (text.isEmpty() || text.size() > Design::kMaxFileBytes)
        throw notObjects();
    // Read as a design file is, with every check that takes.
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("clipboard.qmdesign")));
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        throw QuillError(QStringLiteral("The clipboard cannot be read: %1.").arg(file.errorString()));
    file.close();
    std::vector<LabelObject> objects;
    try {
        objects = DesignCodec::read(Design::readFile(file.fileName())).objects();
    } catch (const QuillError &) {
        throw notObjects();
    }
    std::erase_if(objects,
                  [](const LabelObject &object) { return std::holds_alternative<SymbolObject>(object); });
    if (objects.empty())
        throw notObjects();
    return objects;
}
