#include "gui/widgets/Controls.h"

#include "gui/resources/Resources.h"

#include <QFont>

QLabel* MakeLabel(const QString& objectName, const QRect& geometry, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Labels show texts from question files: markup there must never load, lay out or fetch anything.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* MakePicture(const QString& objectName, const QString& resource, const QRect& geometry, QWidget* parent) {
    QLabel* picture = MakeLabel(objectName, geometry, parent);
    ResJpegToImage(resource, picture);
    return picture;
}

QWidget* MakePanel(const QString& objectName, const QRect& geometry, QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(objectName);
    panel->setGeometry(geometry);
    return panel;
}

QWidget* MakeWhitePanel(const QString& objectName, const QRect& geometry, QWidget* parent) {
    QWidget* panel = MakePanel(objectName, geometry, parent);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    return panel;
}

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QString DisplayText(std::u16string_view text) {
    QString label = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    label.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    label.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return label;
}

void SubstituteFonts() {
    for (const char* family : {"MS Sans Serif", "Ms Sans Serif", "Tahoma"})
        QFont::insertSubstitutions(family, {"Liberation Sans", "DejaVu Sans"});
}
