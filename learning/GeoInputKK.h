#pragma once

#include "learning/GeoInput.h"

#include <QPointer>
#include <vector>

class QAbstractButton;
class QLabel;
class TGeoEdit;

// The short test: one answer field per item, judged while it is typed.
class TGeoInputKK : public TGeoInput {
public:
    TGeoInputKK(QWidget* owner, TDaten& lesson);
    ~TGeoInputKK() override;

    bool RevealMode = false;

    void Start() override;
    void MapItemClicked(TGeoItem& item) override;
    QString ModeName() const override;
    void AttachRevealButton(QAbstractButton* button) override;

    void ToggleRevealMode();
    const std::vector<TGeoEdit*>& Fields() const { return m_fields; }
    const std::vector<QLabel*>& Headings() const { return m_headings; }

private:
    void Shuffle();
    void Layout();
    TGeoEdit* AddField(TGeoItem& item, int left, int top, int width);
    void Reveal(TGeoEdit& field);
    void ApplyRevealMode();

    QWidget* m_content;
    std::vector<TGeoEdit*> m_fields;
    std::vector<QLabel*> m_headings;
    QPointer<QAbstractButton> m_revealButton;
    QMetaObject::Connection m_revealConnection;
    bool m_overrideCursor = false;
};
