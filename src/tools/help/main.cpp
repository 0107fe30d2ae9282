// quorvane-helppages: turns the guides (Markdown) into the HTML pages the install carries under
// help_documentation/, which the main dialog's Help menu opens. Run by the build.
//
// usage: quorvane-helppages OUTPUT_FOLDER PAGE.html=GUIDE.md [...] [--images FOLDER]
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextDocument>

#include <cstdio>

namespace {

// Links between the guides name their Markdown files; in the install they are the pages made
// here, all in one folder beside the pictures.
QString localLinks(QString markdown, const QMap<QString, QString>& pages) {
    static const QRegularExpression link(R"(\]\((?:docs/)?([^)\s#]+)(#[^)\s]*)?\))");
    QString out;
    qsizetype last = 0;
    for (auto match = link.globalMatch(markdown); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        QString target = found.captured(1);
        const QString name = QFileInfo(target).fileName();
        if (pages.contains(name))
            target = pages.value(name);
        else if (!target.contains(QLatin1String("://")))
            target = name;
        out += markdown.mid(last, found.capturedStart() - last);
        out += QStringLiteral("](") + target + found.captured(2) + QStringLiteral(")");
        last = found.capturedEnd();
    }
    out += markdown.mid(last);
    return out;
}

QString page(const QString& title, const QString& body) {
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>") +
           title.toHtmlEscaped() +
           QStringLiteral(
               "</title><style>"
               "body{font-family:'DejaVu Sans',sans-serif;max-width:52em;margin:2em auto;"
               "padding:0 1em;color:#1e293b;line-height:1.5}"
               "h1,h2,h3{color:#0f172a}pre,code{background:#f1f5f9;border-radius:4px}"
               "pre{padding:.6em}img{max-width:100%;border:1px solid #e2e8f0}"
               "table{border-collapse:collapse}td,th{border:1px solid #e2e8f0;"
               "padding:.2em .5em}a{color:#2563eb}"
               "</style></head><body>\n") +
           body + QStringLiteral("\n</body></html>\n");
}

// The body of QTextDocument's HTML: its own page frame is replaced by ours.
QString bodyOf(const QString& html) {
    const qsizetype open = html.indexOf(QLatin1String("<body"));
    const qsizetype start = open < 0 ? -1 : html.indexOf(QLatin1Char('>'), open);
    const qsizetype end = html.lastIndexOf(QLatin1String("</body>"));
    if (start < 0 || end < start)
        return html;
    return html.mid(start + 1, end - start - 1);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr,
                     "usage: quorvane-helppages OUTPUT PAGE.html=GUIDE.md... [--images DIR]\n");
        return 2;
    }
    const QDir output(arguments.at(1));
    if (!QDir().mkpath(output.path())) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(output.path()));
        return 1;
    }
    QMap<QString, QString> pages; // guide file name -> page name
    QList<QPair<QString, QString>> jobs;
    QStringList imageFolders;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--images") && i + 1 < arguments.size()) {
            imageFolders << arguments.at(++i);
            continue;
        }
        const QStringList pair = arguments.at(i).split(QLatin1Char('='));
        if (pair.size() != 2) {
            std::fprintf(stderr, "not PAGE=GUIDE: %s\n", qPrintable(arguments.at(i)));
            return 2;
        }
        pages.insert(QFileInfo(pair.at(1)).fileName(), pair.at(0));
        jobs.append({pair.at(0), pair.at(1)});
    }
    for (const auto& [name, guide] : jobs) {
        QFile in(guide);
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(guide));
            return 1;
        }
        const QString markdown = localLinks(QString::fromUtf8(in.readAll()), pages);
        QTextDocument document;
        document.setMarkdown(markdown);
        QString title = markdown.section(QLatin1Char('\n'), 0, 0);
        title.remove(QRegularExpression(QStringLiteral("^#+\\s*")));
        QFile out(output.filePath(name));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            out.write(page(title, bodyOf(document.toHtml())).toUtf8()) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
            return 1;
        }
    }
    for (const QString& folder : imageFolders)
        for (const QFileInfo& image :
             QDir(folder).entryInfoList({QStringLiteral("*.png")}, QDir::Files)) {
            const QString target = output.filePath(image.fileName());
            QFile::remove(target);
            QFile::copy(image.filePath(), target);
        }
    return 0;
}
