#include "Button.h"

namespace brelomat {

Button::Button(Window& parent, Bounds bounds, std::wstring_view caption)
    : Control(parent, bounds, std::nullopt)
{
    CreateSystem({.ClassName = L"BUTTON",
                  .Text = caption,
                  .Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                  .Parent = parent.Handle(),
                  .Id = NextId()});
    Attach();
}

void Button::Click() noexcept
{
    SendMessageW(Handle(), BM_CLICK, 0, 0);
}

void Button::OnCommand(WORD notification)
{
    if (notification == BN_CLICKED && OnClick)
        OnClick();
}

}  // namespace brelomat
