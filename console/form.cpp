#include "console/form.h"

#include <algorithm>

namespace {

std::vector<TForm*>& FormList()
{
    static std::vector<TForm*> forms;
    return forms;
}

}  // namespace

TForm::TForm(QWidget* parent) : QWidget(parent)
{
    FormList().push_back(this);
}

TForm::~TForm()
{
    auto& forms = FormList();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

void TForm::WndProc(TMessage&) {}

const std::vector<TForm*>& TForm::Forms()
{
    return FormList();
}
