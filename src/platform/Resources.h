#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace sekreta::platform {

// The shapes of the program's resources: menus, accelerator keys, the tool bar, dialog
// templates and texts, each found by its number. The program's data lives in resources/;
// every backend builds its windows from these same descriptions.

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
// The id of controls that nobody reaches by id: labels, group boxes, icons.
inline constexpr int IDC_STATIC = -1;

struct StringResource {
    unsigned id;
    std::string_view text;
};

struct IconResource {
    unsigned id;
    std::string_view image;  // SVG
};

// One item of a pop-up menu; id 0 with an empty text is a separator.
struct MenuItemTemplate {
    unsigned id;
    std::string_view text;
    bool grayed = false;
};

struct PopupTemplate {
    std::string_view text;
    std::span<const MenuItemTemplate> items;
};

// A menu bar, or a context menu whose first pop-up is the one shown.
struct MenuTemplate {
    unsigned id;
    std::span<const PopupTemplate> popups;
};

enum class Key : std::uint16_t {
    A = 'A',
    B,
    C,
    D,
    E,
    F,
    G,
    H,
    I,
    J,
    K,
    L,
    M,
    N,
    O,
    P,
    Q,
    R,
    S,
    T,
    U,
    V,
    W,
    X,
    Y,
    Z,
    Return = 0x100,
    Escape,
    Insert,
    Delete,
    Backspace,
    F1,
    F6,
};

enum Modifier : std::uint8_t {
    NoModifier = 0,
    Shift = 1,
    Control = 2,
    Alt = 4,
};

struct Accelerator {
    Key key;
    std::uint8_t modifiers;
    unsigned command;
};

struct AcceleratorTable {
    unsigned id;
    std::span<const Accelerator> entries;
};

// Command 0 is a separator. The image is SVG.
struct ToolBarButton {
    unsigned command;
    std::string_view image;
};

struct ToolBarTemplate {
    unsigned id;
    int imageWidth;
    int imageHeight;
    int buttonWidth;
    int buttonHeight;
    std::span<const ToolBarButton> buttons;
};

// A check box toggles itself when clicked. A group box only draws a frame with its title; the
// controls inside its rectangle are the dialog's own.
enum class ControlKind { Label, Edit, PushButton, DefaultPushButton, CheckBox, GroupBox, Icon };

// Without AlignRight or AlignCenter a label is left-aligned; without WordWrap it keeps to one
// line. Edits never mask their text and never show scroll bars.
enum ControlStyle : std::uint32_t {
    NoStyle = 0,
    TabStop = 1u << 0,  // Tab stops here; the tab order is the template order
    Border = 1u << 1,
    AlignRight = 1u << 2,
    AlignCenter = 1u << 3,
    WordWrap = 1u << 4,  // a label breaks its text onto further lines
    MultiLine = 1u << 5,  // an edit of several lines
    // An edit scrolls sideways as the text grows. A multi-line edit with it does not wrap long
    // lines; a single-line edit without it takes only what fits its width.
    AutoHorizontalScroll = 1u << 6,
    AutoVerticalScroll = 1u << 7,
    WantReturn = 1u << 8,  // Enter in a multi-line edit breaks the line instead of pressing OK
};

// Dialog units across one average character of the dialog font.
inline constexpr int kDialogUnitsPerCharacter = 4;

// Position and size in dialog units, as the template gives them. The text of an icon is its
// image, as SVG; a mnemonic is the character after "&".
struct ControlTemplate {
    ControlKind kind;
    int id;
    std::string_view text;
    int x;
    int y;
    int width;
    int height;
    std::uint32_t style;

    // How many characters the user may put into an edit that neither scrolls sideways nor has
    // several lines: as many average characters as its width holds, whatever the font. Every
    // backend keeps typing and pasting to this count; what goes beyond is refused with a beep.
    // Nothing for every other control.
    constexpr std::optional<std::size_t> TypedCharacterLimit() const
    {
        if (kind != ControlKind::Edit || (style & (AutoHorizontalScroll | MultiLine)) != 0)
            return std::nullopt;
        return static_cast<std::size_t>(width / kDialogUnitsPerCharacter);
    }
};

struct DialogTemplate {
    unsigned id;
    std::string_view title;
    int width;
    int height;
    std::string_view fontName;
    int fontPointSize;
    std::span<const ControlTemplate> controls;
};

// Everything the program brings; each list sorted by number.
struct ResourceSet {
    std::span<const MenuTemplate> menus;
    std::span<const AcceleratorTable> accelerators;
    std::span<const ToolBarTemplate> toolBars;
    std::span<const DialogTemplate> dialogs;
    std::span<const StringResource> strings;
    std::span<const IconResource> icons;

    const MenuTemplate* FindMenu(unsigned id) const;
    const AcceleratorTable* FindAccelerators(unsigned id) const;
    const ToolBarTemplate* FindToolBar(unsigned id) const;
    const DialogTemplate* FindDialog(unsigned id) const;
    // The icon's image; empty when there is none.
    std::string_view FindIcon(unsigned id) const;
};

}  // namespace sekreta::platform
