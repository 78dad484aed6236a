#include "console/window_messages.h"

#include <algorithm>

#include "console/form.h"

void NotifyForms(uint32_t msg, intptr_t wParam, intptr_t lParam)
{
    // A handler may create or destroy forms: walk a copy and skip those that went away.
    const std::vector<TForm*> forms = TForm::Forms();
    for (TForm* form : forms) {
        const auto& live = TForm::Forms();
        if (std::find(live.begin(), live.end(), form) == live.end())
            continue;
        TMessage message{msg, wParam, lParam};
        form->WndProc(message);
    }
}
