#include "gui/windows/TextWindow.h"

#include "core/base/CodePage.h"
#include "core/session/QuestionLoader.h"
#include "core/session/TestRun.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"
#include "gui/widgets/ScrollBar.h"

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

TextWindow::TextWindow(TestRun& run, const Settings& settings, QWidget* parent)
    : FramedWindow(QStringLiteral("FOknoTekstu"), kTextFrame, QStringLiteral("oknotekstu"), kOffsetFromAnchor, settings,
                   parent),
      run_(run) {
    BuildTools();
    BuildCentre();
    setWindowTitle(QStringLiteral("Tekst"));
    windowWidth_ = kTextWindowWidth;
    windowHeight_ = kMinTextWindowHeight;
    ApplyFont();
    CollapseToBar();
}

void TextWindow::BuildTools() {
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
    connect(smaller, &HotArea::clicked, this, &TextWindow::ShrinkClick);
    connect(larger, &HotArea::clicked, this, &TextWindow::GrowClick);
    connect(copy, &HotArea::clicked, this, &TextWindow::CopyTextClick);

    auto* corner = new HotArea(QStringLiteral("LCiongnijOkno"), QStringLiteral("Zmień wysokość okna"), {12, 10, 13, 14},
                               PRightBottom);
    corner->setCursor(Qt::SizeVerCursor);
    connect(corner, &HotArea::pressed, this, &TextWindow::ResizeGripMouseDown);
    connect(corner, &HotArea::moved, &resizeFrame_, &DottedFrame::Track);
    connect(corner, &HotArea::released, this, &TextWindow::ResizeGripMouseUp);
}

// The box never takes the keyboard focus, so it shows no caret; its own scroll bar
// lies beyond its holder, and ScrollBar stands in for it.
void TextWindow::BuildCentre() {
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
    bar_ = new ScrollBar(PPodListwe);
    PPodListwe->hide();

    QScrollBar* own = Mtekst->verticalScrollBar();
    connect(bar_, &ScrollBar::OnChange, own, &QScrollBar::setValue);
    connect(own, &QScrollBar::valueChanged, bar_, &ScrollBar::SetPosition);
}

void TextWindow::ShowAttachedText(const std::string& name) {
    run_.LastShownTextName = name;
    const std::optional<SideWindowShape> kept = KeptShape();
    windowHeight_ = kept ? kept->Expanded.Height : kMinTextWindowHeight;
    // The box takes its size before the text comes, so that the text is laid out once.
    Mtekst->clear();
    LayoutExpanded();
    shownText_ = ShownTextOf(run_.Current.AttachedText);
    Mtekst->setPlainText(shownText_);
    FitTextScrollBar();
    if (kept && kept->Folded)
        CollapseToBar();
}

void TextWindow::HideAttachedText() {
    windowWidth_ = kTextWindowWidth;
    CollapseToBar();
    expandable_ = false;
    // A text that comes back after a question without one is shown again.
    run_.LastShownTextName.clear();
}

void TextWindow::LayoutExpanded() {
    windowHeight_ = std::max(windowHeight_, kMinTextWindowHeight);
    const TextCentre centre = LayoutTextCentre(windowHeight_);
    PPodTxt->setGeometry(ToQRect(centre.PPodTxt));
    Mtekst->setGeometry(ToQRect(centre.Mtekst));
    PPodListwe->setGeometry(ToQRect(centre.PPodListwe));
    bar_->setGeometry(0, 0, centre.PPodListwe.Width, centre.PPodListwe.Height);
    ArrangeExpanded();
    FitTextScrollBar();
    expandable_ = true;
}

void TextWindow::FitTextScrollBar() {
    linesThatFit_ = ::LinesThatFit(PPodTxt->height(), Mtekst->fontMetrics().height());
    const TextScrollBar bar = ::FitTextScrollBar(DisplayedLineCount(*Mtekst), linesThatFit_);
    if (!bar.Shown) {
        PPodListwe->hide();
        return;
    }
    bar_->SetMax(bar.Max);
    bar_->SetLargeChange(bar.LargeChange);
    bar_->SetSmallChange(bar.SmallChange);
    bar_->SetSmallChangeMax(bar.SmallChangeMax);
    bar_->SetPosition(Mtekst->verticalScrollBar()->value());
    PPodListwe->show();
}

void TextWindow::ShrinkClick() { ChangeFontSize(-1); }

void TextWindow::GrowClick() { ChangeFontSize(1); }

// A new size shows the text from its beginning again.
void TextWindow::ChangeFontSize(int step) {
    const int size = SteppedFontSize(fontSize_, step);
    if (size == fontSize_)
        return;
    fontSize_ = size;
    ApplyFont();
    Mtekst->setPlainText(shownText_);
    FitTextScrollBar();
    ShowFontButtons();
}

void TextWindow::ApplyFont() { Mtekst->setFont(QFont(QStringLiteral("Tahoma"), fontSize_)); }

void TextWindow::ShowFontButtons() {
    const FontButtons buttons = FontButtonsFor(fontSize_);
    PZmniejsz->setVisible(buttons.Smaller);
    PZwieksz->setVisible(buttons.Larger);
}

// The whole text, also what a long text's box leaves out: whoever copies it wants to
// read on elsewhere. AttachedTextLines holds the text on screen until the next one.
void TextWindow::CopyTextClick() { QGuiApplication::clipboard()->setText(WholeTextOf(run_.Current.AttachedText)); }

void TextWindow::ResizeGripMouseDown(QPoint cursor) {
    resizeFrame_.Start(cursor);
    resizeFrame_.SetLeft(x());
    resizeFrame_.SetTop(y());
}

// Only the height follows the frame; the width stays.
void TextWindow::ResizeGripMouseUp() {
    if (!resizeFrame_.Tracking())
        return;
    resizeFrame_.Stop();
    windowHeight_ = resizeFrame_.Bottom() - resizeFrame_.Top();
    LayoutExpanded();
    LearnerResized();
}

// Showing starts folded at the default size and font; both font buttons work again.
void TextWindow::FormShow() {
    windowWidth_ = kTextWindowWidth;
    windowHeight_ = kMinTextWindowHeight;
    CollapseToBar();
    expandable_ = true;
    fontSize_ = kDefaultTextFontSize;
    ApplyFont();
    ShowFontButtons();
    linesThatFit_ = 10;
}

FramedWindow::SizeTools TextWindow::ShownSizeTools() const {
    const FontButtons buttons = FontButtonsFor(fontSize_);
    return {buttons.Smaller, buttons.Larger};
}

void TextWindow::UseTool(FramedWindowAction tool) {
    switch (tool) {
    case FramedWindowAction::Smaller: ShrinkClick(); break;
    case FramedWindowAction::Larger: GrowClick(); break;
    case FramedWindowAction::Copy: CopyTextClick(); break;
    default: break;
    }
}
