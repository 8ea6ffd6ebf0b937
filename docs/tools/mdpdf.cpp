// Turns one of the Markdown documents of docs/ into the PDF that the Help
// menu opens, with Qt alone (QTextDocument and QPdfWriter).
//
//   velta_mdpdf INPUT.md OUTPUT.pdf [--images DIR] [--title TEXT]
//
// Before the Markdown is laid out, three kinds of lines are rewritten:
//   <!-- toc -->                       a list of the second-level headings
//   <!-- include FILE | TEXT -->       the content of FILE (relative to the
//                                      input's folder) with its headings one
//                                      level deeper, or TEXT when FILE is absent
//   ![caption](images/NAME.png)        the picture from DIR, or a placeholder
//                                      line when the build made no such picture
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cstdio>

#include "model/FileWriter.h"

namespace {

// Width of the text on an A4 page with 20 mm margins, in the 96 dpi pixels in
// which QTextDocument measures images.
constexpr double kTextWidthPx = 170.0 / 25.4 * 96.0;

bool readText(const QString& path, QString& out)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    out = QString::fromUtf8(f.readAll());
    return true;
}

QString headingText(const QString& line)
{
    QString t = line;
    while (t.startsWith('#')) t.remove(0, 1);
    return t.trimmed();
}

// The Markdown with includes, pictures and the contents list resolved.
QString preprocess(const QString& text, const QDir& base, const QString& imagesDir, int* missing)
{
    static const QRegularExpression include(R"(^\s*<!--\s*include\s+(\S+)\s*(?:\|\s*(.*?))?\s*-->\s*$)");
    static const QRegularExpression image(R"(^\s*!\[([^\]]*)\]\(([^)\s]+)\)\s*$)");
    QStringList out;
    bool inFence = false;
    const QStringList lines = text.split('\n');
    for (const QString& line : lines) {
        if (line.trimmed().startsWith("```")) inFence = !inFence;
        if (inFence) {
            out << line;
            continue;
        }
        if (auto m = include.match(line); m.hasMatch()) {
            QString included;
            if (readText(base.filePath(m.captured(1)), included)) {
                bool fence = false;
                for (const QString& l : included.split('\n')) {
                    if (l.trimmed().startsWith("```")) fence = !fence;
                    out << ((!fence && l.startsWith('#')) ? "#" + l : l);
                }
            } else {
                out << m.captured(2);
            }
            continue;
        }
        if (auto m = image.match(line); m.hasMatch()) {
            const QString name = QFileInfo(m.captured(2)).fileName();
            const QString path = QDir(imagesDir).filePath(name);
            if (!imagesDir.isEmpty() && QFileInfo::exists(path)) {
                out << "![" + m.captured(1) + "](" + QUrl::fromLocalFile(path).toString() + ")";
                out << "";
                out << "*" + m.captured(1) + "*";
            } else {
                ++*missing;
                out << "*[Picture not included in this build: " + m.captured(1) + "]*";
            }
            continue;
        }
        if (line.trimmed() == "<!-- toc -->") {
            out << "**Contents**" << "";
            bool fence = false;
            for (const QString& l : lines) {
                if (l.trimmed().startsWith("```")) fence = !fence;
                if (!fence && l.startsWith("## ")) out << "- " + headingText(l);
            }
            continue;
        }
        out << line;
    }
    return out.join('\n');
}

// Borders and padding for the tables, pictures no wider than the text,
// monospaced code, and some air around the headings.
void dressUp(QTextDocument& doc)
{
    const QFont mono("DejaVu Sans Mono", 8);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextCursor c(b);
        QTextBlockFormat bf = b.blockFormat();
        if (bf.headingLevel() > 0) {
            bf.setTopMargin(bf.headingLevel() <= 2 ? 14 : 9);
            bf.setBottomMargin(5);
            c.setBlockFormat(bf);
        } else if (bf.hasProperty(QTextFormat::BlockCodeFence)) {
            bf.setBackground(QColor(242, 242, 242));
            bf.setLeftMargin(8);
            c.setBlockFormat(bf);
            c.select(QTextCursor::BlockUnderCursor);
            QTextCharFormat cf;
            cf.setFont(mono);
            c.mergeCharFormat(cf);
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.charFormat().isImageFormat()) continue;
            QTextImageFormat img = frag.charFormat().toImageFormat();
            QImageReader reader(QUrl(img.name()).toLocalFile());
            const QSize size = reader.size();
            if (!size.isValid() || size.width() <= 0) continue;
            const double w = std::min<double>(size.width(), kTextWidthPx);
            img.setWidth(w);
            img.setHeight(w * size.height() / size.width());
            QTextCursor ic(&doc);
            ic.setPosition(frag.position());
            ic.setPosition(frag.position() + frag.length(), QTextCursor::KeepAnchor);
            ic.setCharFormat(img);
        }
    }
    for (QTextFrame* f : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(f);
        if (!table) continue;
        QTextTableFormat tf = table->format();
        tf.setBorder(1);
        tf.setBorderBrush(QColor(120, 120, 120));
        tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        tf.setBorderCollapse(true);
        tf.setCellPadding(3);
        tf.setCellSpacing(0);
        tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        table->setFormat(tf);
        for (int col = 0; col < table->columns(); ++col) {
            QTextTableCell cell = table->cellAt(0, col);
            QTextCharFormat cf = cell.format();
            cf.setFontWeight(QFont::Bold);
            cf.setBackground(QColor(230, 230, 230));
            cell.setFormat(cf);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString input, output, images, title;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--images" && i + 1 < args.size())
            images = args[++i];
        else if (args[i] == "--title" && i + 1 < args.size())
            title = args[++i];
        else if (input.isEmpty())
            input = args[i];
        else if (output.isEmpty())
            output = args[i];
    }
    if (input.isEmpty() || output.isEmpty()) {
        std::fprintf(stderr, "usage: velta_mdpdf INPUT.md OUTPUT.pdf [--images DIR] [--title TEXT]\n");
        return 2;
    }
    QString text;
    if (!readText(input, text)) {
        std::fprintf(stderr, "velta_mdpdf: cannot read %s\n", qPrintable(input));
        return 1;
    }
    int missing = 0;
    const QString markdown = preprocess(text, QFileInfo(input).absoluteDir(), images, &missing);
    if (title.isEmpty())
        for (const QString& l : markdown.split('\n'))
            if (l.startsWith("# ")) {
                title = headingText(l);
                break;
            }

    QTextDocument doc;
    QFont body("DejaVu Serif", 10);
    doc.setDefaultFont(body);
    doc.setDocumentMargin(0);
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    dressUp(doc);

    // The document is made in memory and written through the checked writer.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title);
    pdf.setCreator("VELTA");
    pdf.setResolution(300);
    // QTextDocument::print lays the text out with margins of 2 cm of its own
    // and numbers the pages in the bottom one.
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                  QPageLayout::Millimeter));
    doc.print(&pdf);
    buffer.close();
    try {
        velta::writeFileAtomically(output.toStdString(), bytes);
    } catch (const velta::FileWriteError& e) {
        std::fprintf(stderr, "velta_mdpdf: %s\n", e.what());
        return 1;
    }
    if (missing > 0)
        std::fprintf(stderr, "velta_mdpdf: %s: %d picture(s) not found, placeholders written\n",
                     qPrintable(QFileInfo(input).fileName()), missing);
    return 0;
}
