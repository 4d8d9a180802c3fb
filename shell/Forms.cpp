#include "Forms.h"

#include "About.h"
#include "Form.h"
#include "Game_Screen.h"
#include "Load_Files.h"
#include "Main_Menu.h"
#include "MapEditor.h"
#include "Play_Game.h"
#include "Start_Level.h"

Forms::Forms(QObject *parent)
    : QObject(parent)
{
}

Forms::~Forms()
{
    for (auto &[id, form] : m_forms)
        delete form.data();
}

Form *Forms::create(FormId id)
{
    switch (id) {
    case FormId::GameScreen:
        return new Game_Screen(*this);
    case FormId::MainMenu:
        return new Main_Menu(*this);
    case FormId::PlayGame:
        return new Play_Game(*this);
    case FormId::StartLevel:
        return new Start_Level(*this);
    case FormId::About:
        return new About(*this);
    case FormId::LoadFiles:
        return new Load_Files(*this);
    case FormId::MapEditor:
        return new MapEditor(*this);
    }
    Q_UNREACHABLE();
}

void Forms::start()
{
    show(FormId::MainMenu);
}

Form *Forms::loaded(FormId id) const
{
    const auto found = m_forms.find(id);
    return found == m_forms.end() ? nullptr : found->second.data();
}

QWidget *Forms::form(FormId id)
{
    if (Form *existing = loaded(id))
        return existing;
    Form *form = create(id);
    m_forms[id] = form;
    connect(form, &Form::unloaded, this, [this, id, form] {
        if (loaded(id) == form)
            m_forms.erase(id);
        form->hide();
        form->deleteLater();
    });
    form->Form_Load();
    return form;
}

bool Forms::isLoaded(FormId id) const
{
    return loaded(id) != nullptr;
}

void Forms::show(FormId id)
{
    QWidget *window = form(id);
    window->show();
    window->raise();
    window->activateWindow();
}

void Forms::hide(FormId id)
{
    if (Form *window = loaded(id))
        window->hide();
}

bool Forms::unload(FormId id)
{
    Form *window = loaded(id);
    if (!window)
        return true;
    window->close();
    return window->isUnloaded();
}

void Forms::end()
{
    std::map<FormId, QPointer<Form>> forms;
    forms.swap(m_forms);
    for (auto &[id, form] : forms) {
        if (form)
            form->discard();
    }
    emit ended();
}
