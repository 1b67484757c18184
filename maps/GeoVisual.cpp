#include "maps/GeoVisual.h"

#include "lesson/LessonHooks.h"
#include "widgets/Background.h"

#include <QResizeEvent>

TGeoVisual::TGeoVisual(QWidget* lessonView, TDaten& lesson) : QScrollArea(lessonView), Lesson(lesson)
{
    // Only a globe map built after this one may be redrawn by the model.
    LessonHooks::SetGlobeRedrawHook({});
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setBackgroundRole(QPalette::Window);
    FillBackground(this);
    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("MapContent"));
    m_content->setAutoFillBackground(false);
    setWidget(m_content);
}

TGeoVisual::~TGeoVisual() = default;

void TGeoVisual::ShowItemState(TGeoItem&) {}

QWidget* TGeoVisual::CreateToolPanel()
{
    if (!m_toolPanel) {
        m_toolPanel = new QWidget(this);
        m_toolPanel->setObjectName(QStringLiteral("ToolPanel"));
        m_toolPanel->setFixedWidth(133);
        FillBackground(m_toolPanel);
    }
    return m_toolPanel;
}

QWidget* TGeoVisual::CreateItemEditPanel() { return nullptr; }
void TGeoVisual::EditorPageChanged(int) {}
bool TGeoVisual::AddItemsFromDatabase() { return false; }

void TGeoVisual::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    ArrangeContent();
}
