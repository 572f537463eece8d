#include "platform/VirtualKeys.h"

#include <QKeyEvent>

namespace {

struct KeyPair {
  int qt;
  int code;
};

constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, vk::Back},  {Qt::Key_Tab, vk::Tab},       {Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Return, vk::Return},   {Qt::Key_Enter, vk::Return},  {Qt::Key_Shift, vk::Shift},
    {Qt::Key_Control, vk::Control}, {Qt::Key_Alt, vk::Menu},      {Qt::Key_AltGr, vk::Menu},
    {Qt::Key_Pause, vk::Pause},     {Qt::Key_CapsLock, vk::Capital}, {Qt::Key_Escape, vk::Escape},
    {Qt::Key_Space, vk::Space},     {Qt::Key_PageUp, vk::Prior},  {Qt::Key_PageDown, vk::Next},
    {Qt::Key_End, vk::End},         {Qt::Key_Home, vk::Home},     {Qt::Key_Left, vk::Left},
    {Qt::Key_Up, vk::Up},           {Qt::Key_Right, vk::Right},   {Qt::Key_Down, vk::Down},
    {Qt::Key_Insert, vk::Insert},   {Qt::Key_Delete, vk::Delete}, {Qt::Key_NumLock, vk::NumLock},
    {Qt::Key_ScrollLock, vk::Scroll},
    // Punctuation keys of the US layout, unshifted and shifted.
    {Qt::Key_Semicolon, 186},       {Qt::Key_Colon, 186},         {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},            {Qt::Key_Comma, 188},         {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},           {Qt::Key_Underscore, 189},    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},         {Qt::Key_Slash, 191},         {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},       {Qt::Key_AsciiTilde, 192},    {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},       {Qt::Key_Backslash, 220},     {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221},    {Qt::Key_BraceRight, 221},    {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    // Shift+digit on the US layout.
    {Qt::Key_ParenRight, '0'},      {Qt::Key_Exclam, '1'},        {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},      {Qt::Key_Dollar, '4'},        {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},     {Qt::Key_Ampersand, '7'},     {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
};

constexpr KeyPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, vk::Multiply}, {Qt::Key_Plus, vk::Add},     {Qt::Key_Minus, vk::Subtract},
    {Qt::Key_Period, vk::Decimal},    {Qt::Key_Comma, vk::Decimal}, {Qt::Key_Slash, vk::Divide},
};

int Find(const KeyPair* begin, const KeyPair* end, int qtKey) {
  for (const KeyPair* pair = begin; pair != end; ++pair) {
    if (pair->qt == qtKey) return pair->code;
  }
  return 0;
}

}  // namespace

int VirtualKeyFromQt(int qtKey, bool keypad) {
  if (keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vk::Numpad0 + (qtKey - Qt::Key_0);
    if (const int code = Find(std::begin(kKeypadKeys), std::end(kKeypadKeys), qtKey)) return code;
  }
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::F1 + (qtKey - Qt::Key_F1);
  return Find(std::begin(kNamedKeys), std::end(kNamedKeys), qtKey);
}

int VirtualKeyOf(const QKeyEvent& event) {
  return VirtualKeyFromQt(event.key(), event.modifiers() & Qt::KeypadModifier);
}
