#include "ManualBrowser.h"

#include "FileBytes.h"

#include <QTextDocument>

namespace veltrana {

QVariant ManualBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (!url.isLocalFile())
        return QTextBrowser::loadResource(type, name);
    std::string bytes;
    if (const FileError error = ReadFileBytes(url.toLocalFile().toStdString(), bytes);
        !error.ok()) {
        if (type != QTextDocument::HtmlResource)
            return {};
        return QStringLiteral("<p>The manual cannot be shown: %1</p>")
            .arg(QString::fromStdString(error.description).toHtmlEscaped());
    }
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace veltrana
