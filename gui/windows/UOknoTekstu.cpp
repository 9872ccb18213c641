#include "gui/windows/UOknoTekstu.h"

#include "core/base/CodePage.h"
#include "core/session/QuestionLoader.h"
#include "core/session/TestRun.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"
#include "gui/widgets/ListwaV.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <string>
#include <string_view>

namespace {

constexpr QPoint kOffsetFromAnchor(250, 55);

QString Wide(std::string_view ansi) { return QString::fromStdU16String(AnsiToWide(ansi)); }

// What the box lays out: the text's beginning, and the mark when the rest was cut.
QString ShownTextOf(const TextLines& lines) {
    const ShownText shown = ShownPartOf(lines);
    QStringList text;
    for (std::string_view line : shown.Lines)
        text << Wide(line);
    if (shown.Cut)
        text << QString::fromUtf16(kCutTextMark.data(), static_cast<qsizetype>(kCutTextMark.size()));
    return text.join(QLatin1Char('\n'));
}

QString WholeTextOf(const TextLines& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (&line != &lines.front())
            text += '\n';
        text += line;
    }
    return Wide(text);
}

// Lines as the box shows them, after word wrap: every paragraph laid out first,
// since the box itself lays out only what comes into view.
int DisplayedLineCount(const QPlainTextEdit& box) {
    QTextDocument* document = box.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        document->documentLayout()->blockBoundingRect(block);
    return document->lineCount();
}

} // namespace

TFOknoTekstu::TFOknoTekstu(QWidget* parent)
    : TFramedWindow(QStringLiteral("FOknoTekstu"), kTextFrame, QStringLiteral("oknotekstu"), kOffsetFromAnchor,
                    parent) {
    BuildTools();
    BuildCentre();
    setWindowTitle(QStringLiteral("Tekst"));
    windowWidth_ = kTextWindowWidth;
    windowHeight_ = kMinTextWindowHeight;
    ApplyFont();
    CollapseToBar();
}

void TFOknoTekstu::BuildTools() {
    HotArea* smaller =
        MakeToolButton(QStringLiteral("PZmniejsz"), QStringLiteral("ImZmniejsz"), QStringLiteral("butmniejszaczcionka"),
                       QStringLiteral("Zmniejsz rozmiar czcionki"), {23, 40, 40, 45}, PLeftTop);
    HotArea* larger =
        MakeToolButton(QStringLiteral("PZwieksz"), QStringLiteral("ImZwieksz"), QStringLiteral("butwiekszaczcionka"),
                       QStringLiteral("Zwiększ rozmiar czcionki"), {23, 90, 40, 45}, PLeftTop);
    HotArea* copy =
        MakeToolButton(QStringLiteral("PPodIcoKopiuj"), QStringLiteral("ImIcoKopiuj"), QStringLiteral("butkopiujtekst"),
                       QStringLiteral("Kopiuj tekst"), {23, 138, 40, 45}, PLeftTop);
    PZmniejsz = smaller->parentWidget();
    PZwieksz = larger->parentWidget();
    connect(smaller, &HotArea::clicked, this, &TFOknoTekstu::ImZmniejszClick);
    connect(larger, &HotArea::clicked, this, &TFOknoTekstu::ImZwiekszClick);
    connect(copy, &HotArea::clicked, this, &TFOknoTekstu::ImIcoKopiujClick);

    auto* corner = new HotArea(QStringLiteral("LCiongnijOkno"), QStringLiteral("Zmień wysokość okna"), {12, 10, 13, 14},
                               PRightBottom);
    corner->setCursor(Qt::SizeVerCursor);
    connect(corner, &HotArea::pressed, this, &TFOknoTekstu::LCiongnijOknoMouseDown);
    connect(corner, &HotArea::moved, &resizeFrame_, &DottedFrame::Track);
    connect(corner, &HotArea::released, this, &TFOknoTekstu::LCiongnijOknoMouseUp);
}

// The box never takes the keyboard focus, so it shows no caret; its own scroll bar
// lies beyond its holder, and ListwaV stands in for it.
void TFOknoTekstu::BuildCentre() {
    PPodTxt = MakeWhitePanel(QStringLiteral("PPodTxt"), {}, PCentrum);
    Mtekst = new QPlainTextEdit(PPodTxt);
    Mtekst->setObjectName(QStringLiteral("Mtekst"));
    Mtekst->setReadOnly(true);
    Mtekst->setTextInteractionFlags(Qt::NoTextInteraction);
    Mtekst->setFocusPolicy(Qt::NoFocus);
    Mtekst->setContextMenuPolicy(Qt::NoContextMenu);
    Mtekst->setFrameShape(QFrame::NoFrame);
    Mtekst->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // A word longer than the line is broken rather than lost past the right edge.
    Mtekst->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Mtekst->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Mtekst->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Mtekst->document()->setDocumentMargin(0);
    QPalette palette = Mtekst->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    Mtekst->setPalette(palette);

    PPodListwe = MakeWhitePanel(QStringLiteral("PPodListwe"), {}, PCentrum);
    ListwaV = new TListwaV(PPodListwe);
    PPodListwe->hide();

    QScrollBar* own = Mtekst->verticalScrollBar();
    connect(ListwaV, &TListwaV::OnChange, own, &QScrollBar::setValue);
    connect(own, &QScrollBar::valueChanged, ListwaV, &TListwaV::SetPosition);
}

void TFOknoTekstu::ShowAttachedText(const std::string& name) {
    LastShownTextName = name;
    const std::optional<SideWindowShape> kept = KeptShape();
    windowHeight_ = kept ? kept->Expanded.Height : kMinTextWindowHeight;
    // The box takes its size before the text comes, so that the text is laid out once.
    Mtekst->clear();
    LayoutExpanded();
    shownText_ = ShownTextOf(AttachedTextLines);
    Mtekst->setPlainText(shownText_);
    FitTextScrollBar();
    if (kept && kept->Folded)
        CollapseToBar();
}

void TFOknoTekstu::HideAttachedText() {
    windowWidth_ = kTextWindowWidth;
    CollapseToBar();
    expandable_ = false;
    // A text that comes back after a question without one is shown again.
    LastShownTextName.clear();
}

void TFOknoTekstu::LayoutExpanded() {
    windowHeight_ = std::max(windowHeight_, kMinTextWindowHeight);
    const TextCentre centre = LayoutTextCentre(windowHeight_);
    PPodTxt->setGeometry(ToQRect(centre.PPodTxt));
    Mtekst->setGeometry(ToQRect(centre.Mtekst));
    PPodListwe->setGeometry(ToQRect(centre.PPodListwe));
    ListwaV->setGeometry(0, 0, centre.PPodListwe.Width, centre.PPodListwe.Height);
    ArrangeExpanded();
    FitTextScrollBar();
    expandable_ = true;
}

void TFOknoTekstu::FitTextScrollBar() {
    linesThatFit_ = ::LinesThatFit(PPodTxt->height(), Mtekst->fontMetrics().height());
    const TextScrollBar bar = ::FitTextScrollBar(DisplayedLineCount(*Mtekst), linesThatFit_);
    if (!bar.Shown) {
        PPodListwe->hide();
        return;
    }
    ListwaV->SetMax(bar.Max);
    ListwaV->SetLargeChange(bar.LargeChange);
    ListwaV->SetSmallChange(bar.SmallChange);
    ListwaV->SetSmallChangeMax(bar.SmallChangeMax);
    ListwaV->SetPosition(Mtekst->verticalScrollBar()->value());
    PPodListwe->show();
}

void TFOknoTekstu::ImZmniejszClick() { ChangeFontSize(-1); }

void TFOknoTekstu::ImZwiekszClick() { ChangeFontSize(1); }

// A new size shows the text from its beginning again.
void TFOknoTekstu::ChangeFontSize(int step) {
    const int size = SteppedFontSize(fontSize_, step);
    if (size == fontSize_)
        return;
    fontSize_ = size;
    ApplyFont();
    Mtekst->setPlainText(shownText_);
    FitTextScrollBar();
    ShowFontButtons();
}

void TFOknoTekstu::ApplyFont() { Mtekst->setFont(QFont(QStringLiteral("Tahoma"), fontSize_)); }

void TFOknoTekstu::ShowFontButtons() {
    const FontButtons buttons = FontButtonsFor(fontSize_);
    PZmniejsz->setVisible(buttons.Smaller);
    PZwieksz->setVisible(buttons.Larger);
}

// The whole text, also what a long text's box leaves out: whoever copies it wants to
// read on elsewhere. AttachedTextLines holds the text on screen until the next one.
void TFOknoTekstu::ImIcoKopiujClick() { QGuiApplication::clipboard()->setText(WholeTextOf(AttachedTextLines)); }

void TFOknoTekstu::LCiongnijOknoMouseDown(QPoint cursor) {
    resizeFrame_.Start(cursor);
    resizeFrame_.SetLeft(x());
    resizeFrame_.SetTop(y());
}

// Only the height follows the frame; the width stays.
void TFOknoTekstu::LCiongnijOknoMouseUp() {
    if (!resizeFrame_.Tracking())
        return;
    resizeFrame_.Stop();
    windowHeight_ = resizeFrame_.Bottom() - resizeFrame_.Top();
    LayoutExpanded();
    LearnerResized();
}

// Showing starts folded at the default size and font; both font buttons work again.
void TFOknoTekstu::FormShow() {
    windowWidth_ = kTextWindowWidth;
    windowHeight_ = kMinTextWindowHeight;
    CollapseToBar();
    expandable_ = true;
    fontSize_ = kDefaultTextFontSize;
    ApplyFont();
    ShowFontButtons();
    linesThatFit_ = 10;
}

TFramedWindow::SizeTools TFOknoTekstu::ShownSizeTools() const {
    const FontButtons buttons = FontButtonsFor(fontSize_);
    return {buttons.Smaller, buttons.Larger};
}

void TFOknoTekstu::UseTool(FramedWindowAction tool) {
    switch (tool) {
    case FramedWindowAction::Smaller: ImZmniejszClick(); break;
    case FramedWindowAction::Larger: ImZwiekszClick(); break;
    case FramedWindowAction::Copy: ImIcoKopiujClick(); break;
    default: break;
    }
}
