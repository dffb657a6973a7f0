// The message box form: its layout from the text, picture and buttons, its
// place on the screen, and the close box.
#include "platform/controls/dialogs/message_dialog.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/application.h"
#include "platform/controls/dialogs/message_icon.h"
#include "platform/controls/screen.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/standard_texts.h"

#include <algorithm>
#include <memory>

namespace plat {

PLAT_DEFINE_CLASS(TMessageForm, TForm)

PLAT_BEGIN_MESSAGES(TMessageForm, TForm)
    PLAT_MESSAGE(WM_CLOSE, WMClose)
PLAT_END_MESSAGES

namespace {

constexpr int Margin = 12;
constexpr int IconGap = 12;          // between the picture and the text
constexpr int ButtonTopGap = 16;     // between the text and the buttons
constexpr int ButtonGap = 6;
constexpr int ButtonHeight = 25;
constexpr int ButtonMinWidth = 75;
constexpr int MinTextWidth = 240;
constexpr std::uint32_t TextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT;

constexpr TMsgDlgBtn AllButtons[] = {mbYes, mbNo,      mbOK,       mbCancel, mbAbort, mbRetry,
                                     mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose};

// The text as the box lays it out: a line feed followed by a carriage
// return (the order of the error texts' breaks) is one line break, as a
// carriage return followed by a line feed is; a lone one of either too.
std::string BoxText(const std::string& text)
{
    std::string shown = text;
    for (std::size_t i = 0; i + 1 < shown.size(); ++i) {
        if (shown[i] == '\r' && shown[i + 1] == '\n') {
            ++i;
        } else if (shown[i] == '\n' && shown[i + 1] == '\r') {
            shown[i] = '\r';
            shown[i + 1] = '\n';
            ++i;
        }
    }
    return shown;
}

TRect WorkArea()
{
    return Screen != nullptr ? Screen->WorkAreaRect() : Rect(0, 0, 1024, 768);
}

} // namespace

std::string MessageBoxCaption(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return LoadResString(&SMsgBoxWarning);
    case mtError:
        return LoadResString(&SMsgBoxError);
    case mtInformation:
        return LoadResString(&SMsgBoxInformation);
    case mtConfirmation:
        return LoadResString(&SMsgBoxConfirm);
    case mtCustom:
        break;
    }
    return Application != nullptr ? Application->Title() : std::string();
}

std::string MessageButtonCaption(TMsgDlgBtn button)
{
    static constexpr PResString Captions[] = {&SMsgBoxYes,   &SMsgBoxNo,      &SMsgBoxOK,       &SMsgBoxCancel,
                                              &SMsgBoxAbort, &SMsgBoxRetry,   &SMsgBoxIgnore,   &SMsgBoxAll,
                                              &SMsgBoxNoToAll, &SMsgBoxYesToAll, &SMsgBoxHelp, &SButtonClose};
    return LoadResString(Captions[button]);
}

std::vector<TMsgDlgBtn> MessageBoxButtons(TMsgDlgButtons buttons)
{
    std::vector<TMsgDlgBtn> shown;
    for (TMsgDlgBtn kind : AllButtons) {
        if (buttons.Contains(kind)) {
            shown.push_back(kind);
        }
    }
    if (shown.empty()) {
        shown.push_back(mbOK);
    }
    return shown;
}

TMsgDlgBtn MessageBoxDefault(TMsgDlgButtons buttons, TMsgDlgBtn defaultButton)
{
    const std::vector<TMsgDlgBtn> shown = MessageBoxButtons(buttons);
    return std::find(shown.begin(), shown.end(), defaultButton) != shown.end() ? defaultButton : shown.front();
}

TMessageForm::TMessageForm(const std::string& givenText, const std::string& caption, TMsgDlgType type,
                           TMsgDlgButtons buttons, TMsgDlgBtn defaultButton)
    : TForm(nullptr)
{
    const std::string text = BoxText(givenText);
    SetBorderStyle(bsDialog);
    SetCaption(caption.empty() ? MessageBoxCaption(type) : caption);
    const TRect area = WorkArea();
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());

    // The text, wrapped at half the screen's width.
    const int maxTextWidth = std::max(MinTextWidth, static_cast<int>(area.Width() / 2));
    TRect measured = Rect(0, 0, maxTextWidth, 0);
    canvas.RequireState();
    if (canvas.Handle() != nullptr) {
        canvas.Handle()->DrawText(text.empty() ? std::string(" ") : text, measured, TextFormat | DT_CALCRECT);
    }
    const int textWidth = std::min(static_cast<int>(measured.Width()), maxTextWidth);
    int textHeight = std::max(static_cast<int>(measured.Height()), LineHeight(canvas));

    // The buttons, each as wide as its caption needs.
    int buttonsWidth = -ButtonGap;
    for (TMsgDlgBtn kind : MessageBoxButtons(buttons)) {
        auto* button = new TButton(this);
        button->SetName(ButtonName(kind));
        button->SetCaption(MessageButtonCaption(kind));
        button->SetModalResult(ModalResultOf(kind));
        const int width = std::max(ButtonMinWidth, canvas.TextWidth(StripAccelerators(button->Caption())) + 20);
        button->SetBounds(0, 0, width, ButtonHeight);
        buttonsWidth += width + ButtonGap;
        FButtons.emplace_back(kind, button);
    }
    const TMsgDlgBtn escape = buttons.Contains(mbCancel) ? mbCancel : buttons.Contains(mbNo) ? mbNo : mbOK;
    FEscapeButton = ButtonOf(escape);
    if (FEscapeButton != nullptr) {
        FEscapeButton->SetCancel(true);
    }
    TButton* chosen = ButtonOf(MessageBoxDefault(buttons, defaultButton));
    chosen->SetDefault(true);

    // A text too long for the screen is cut to what fits.
    const int icon = type == mtCustom ? 0 : TMessageIcon::Size;
    const int chrome = 2 * Margin + ButtonTopGap + ButtonHeight + GetSystemMetrics(SM_CYCAPTION) +
                       2 * GetSystemMetrics(SM_CYDLGFRAME);
    textHeight = std::min(textHeight, std::max(static_cast<int>(area.Height()) - chrome, LineHeight(canvas)));
    const int textLeft = Margin + (icon > 0 ? icon + IconGap : 0);
    const int clientWidth = std::max(textLeft + textWidth, buttonsWidth + 2 * Margin) + Margin;
    const int upper = std::max(icon, textHeight);
    const int clientHeight = Margin + upper + ButtonTopGap + ButtonHeight + Margin;

    if (icon > 0) {
        auto* picture = new TMessageIcon(this, type);
        picture->SetName("Image");
        picture->SetBounds(Margin, Margin, icon, icon);
        picture->SetParent(this);
    }
    FMessage = new TLabel(this);
    FMessage->SetName("Message");
    FMessage->SetAutoSize(false);
    FMessage->SetWordWrap(true);
    FMessage->SetShowAccelChar(false);
    FMessage->SetCaption(text);
    FMessage->SetBounds(textLeft, Margin + (upper - textHeight) / 2, textWidth, textHeight);
    FMessage->SetParent(this);
    int left = (clientWidth - buttonsWidth) / 2;
    for (const auto& [kind, button] : FButtons) {
        button->SetBounds(left, clientHeight - Margin - ButtonHeight, button->Width(), ButtonHeight);
        button->SetParent(this);
        left += button->Width() + ButtonGap;
    }
    // The frame around the client area is known once the window exists.
    HandleNeeded();
    SetClientWidth(clientWidth);
    SetClientHeight(clientHeight);
    FDefaultButton = chosen;
    PlaceOnScreen();
}

TButton* TMessageForm::ButtonOf(TMsgDlgBtn button) const
{
    for (const auto& [kind, control] : FButtons) {
        if (kind == button) {
            return control;
        }
    }
    return nullptr;
}

void TMessageForm::PlaceOnScreen()
{
    const TRect area = WorkArea();
    TRect around = area;
    if (Application != nullptr && Application->MainForm() != nullptr && Application->MainForm()->Visible()) {
        around = Application->MainForm()->BoundsRect();
    }
    const auto centred = [](std::int64_t start, std::int64_t length, std::int64_t size, std::int64_t low,
                            std::int64_t high) {
        const std::int64_t at = start + (length - size) / 2;
        return SaturateInt(std::max(low, std::min(at, high - size)));
    };
    SetBounds(centred(around.Left, around.Width(), Width(), area.Left, area.Right),
              centred(around.Top, around.Height(), Height(), area.Top, area.Bottom), Width(), Height());
}

void TMessageForm::DoShow()
{
    TForm::DoShow();
    if (FDefaultButton->CanFocus()) {
        SetActiveControl(FDefaultButton);
    }
}

void TMessageForm::WMClose(TMessage&)
{
    // The close box is the escape button; without one it does nothing.
    if (FEscapeButton != nullptr) {
        SetModalResult(FEscapeButton->ModalResult());
    }
}

TModalResult MessageDlg(const std::string& text, const std::string& caption, TMsgDlgType type, TMsgDlgButtons buttons,
                        TMsgDlgBtn defaultButton)
{
    auto form = std::make_unique<TMessageForm>(text, caption, type, buttons, defaultButton);
    return form->ShowModal();
}

} // namespace plat
