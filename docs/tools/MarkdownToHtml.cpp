// Converts the Markdown manual to one HTML file at build time, with Qt's own Markdown reader.
// Every heading gets the anchor GitHub gives it, so that the contents can link to the
// chapters; a link to "#name" without its heading fails the conversion.
//   veltrana_markdown_html <input.md> <output.html> [title]

#include <QFile>
#include <QGuiApplication>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>

namespace {

// Lower case, blanks to "-", everything but letters, digits, "-" and "_" left out.
QString Anchor(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber() || c == '-' || c == '_')
            anchor += c;
        else if (c == ' ')
            anchor += '-';
    }
    return anchor;
}

QSet<QString> AnchorHeadings(QTextDocument& document) {
    QSet<QString> anchors;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0)
            continue;
        const QString anchor = Anchor(block.text());
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({anchor});
        cursor.mergeCharFormat(format);
        anchors.insert(anchor);
    }
    return anchors;
}

// The links inside the document that lead nowhere.
QStringList DanglingLinks(const QTextDocument& document, const QSet<QString>& anchors) {
    QStringList dangling;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (href.startsWith('#') && !anchors.contains(href.mid(1)))
                dangling << href;
        }
    return dangling;
}

} // namespace

int main(int argc, char** argv) {
    // A build step has no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <input.md> <output.html> [title]\n", argv[0]);
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s: %s\n", argv[1], qPrintable(in.errorString()));
        return 1;
    }
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(in.readAll()), QTextDocument::MarkdownDialectGitHub);
    const QStringList dangling = DanglingLinks(document, AnchorHeadings(document));
    if (!dangling.isEmpty()) {
        std::fprintf(stderr, "%s: no heading for the links %s\n", argv[1],
                     qPrintable(dangling.join(QStringLiteral(", "))));
        return 1;
    }
    if (argc > 3)
        document.setMetaInformation(QTextDocument::DocumentTitle, QString::fromLocal8Bit(argv[3]));
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(document.toHtml().toUtf8()) < 0 || !out.flush()) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[2], qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
