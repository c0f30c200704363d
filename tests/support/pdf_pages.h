#pragma once

#include "ui/dialogs.h"

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTextDocumentFragment>

// What `paint` draws on A4 pages with a 5 mm margin, as a PDF.
inline QByteArray pdfOf(const panel::Dialogs::PagePainter &paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                         QPageLayout::Millimeter));
        paint(writer);
    }
    return bytes;
}

// A word as pdftotext -bbox finds it: its page (from 1) and its box in millimetres from the page's top left.
struct PdfWord {
    QString text;
    int page = 0;
    QRectF box;
};

// Every word of a PDF, page by page; empty when pdftotext (poppler-utils) cannot read it.
inline QList<PdfWord> pdfWords(const QByteArray &pdf)
{
    QTemporaryFile file;
    if (!file.open() || file.write(pdf) != pdf.size() || !file.flush())
        return {};
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file.fileName(), QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    constexpr qreal kMmPerPoint = 25.4 / 72;
    QList<PdfWord> words;
    int page = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(1).isNull()) {
            ++page;
            continue;
        }
        const QPointF topLeft(match.captured(1).toDouble(), match.captured(2).toDouble());
        const QPointF bottomRight(match.captured(3).toDouble(), match.captured(4).toDouble());
        words.append({QTextDocumentFragment::fromHtml(match.captured(5)).toPlainText(), page,
                      QRectF(topLeft * kMmPerPoint, bottomRight * kMmPerPoint)});
    }
    return words;
}
