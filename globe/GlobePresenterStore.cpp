#include "globe/GlobePresenterStore.h"

#include "globe/CustomGlobeView.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobeObjects.h"

#include <algorithm>

bool TGlobePresenter::LLInObject(TCustomGlobeView& /*globe*/, const TPointLL& p, int32_t tolerance,
                                 TGlobeObject& object)
{
    return object.LLInObject(p, tolerance);
}

TGlobePresenter* TGlobePresenterStore::GetPresenter(int i) const
{
    return (i >= 0 && i < GetCount()) ? m_presenters[static_cast<size_t>(i)].get() : nullptr;
}

bool TGlobePresenterStore::PrepareID(TGlobePresenter& presenter) const
{
    if (presenter.PresenterID != 0)
        return ByID(presenter.PresenterID, false) == nullptr;
    int32_t highest = 0;
    for (const auto& p : m_presenters)
        highest = std::max(highest, p->PresenterID);
    presenter.PresenterID = highest + 1;
    return true;
}

int32_t TGlobePresenterStore::Append(std::unique_ptr<TGlobePresenter> presenter)
{
    const int32_t id = presenter->PresenterID;
    m_presenters.push_back(std::move(presenter));
    Modified = true;
    return id;
}

TGlobePresenter* TGlobePresenterStore::ByID(int32_t id, bool withGlobal) const
{
    for (const auto& p : m_presenters)
        if (p->PresenterID == id)
            return p.get();
    if (withGlobal)
        return m_globe.GlobeLayers().GlobalPresenters().ByID(id, false);
    return nullptr;
}

std::unique_ptr<TGlobePresenter> TGlobePresenterStore::Delete(TGlobePresenter* presenter)
{
    auto it = std::find_if(m_presenters.begin(), m_presenters.end(),
                           [presenter](const auto& p) { return p.get() == presenter; });
    if (it == m_presenters.end())
        return nullptr;
    auto owned = std::move(*it);
    m_presenters.erase(it);
    return owned;
}

void TGlobePresenterStore::Clear() { m_presenters.clear(); }
