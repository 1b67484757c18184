#pragma once

// A list of presenters by ID.

#include "globe/GlobePresenter.h"

#include <vector>

class TGlobePresenterStore {
public:
    explicit TGlobePresenterStore(TCustomGlobeView& globe) : m_globe(globe) {}
    TGlobePresenterStore(const TGlobePresenterStore&) = delete;
    TGlobePresenterStore& operator=(const TGlobePresenterStore&) = delete;

    TGlobePresenter* GetPresenter(int i) const;
    int GetCount() const { return static_cast<int>(m_presenters.size()); }
    // Takes the presenter and returns its ID; ID 0 gets the next free one.
    // A presenter whose ID is taken is refused (left with the caller) and its
    // ID returned; none returns 0.
    template <typename P> int32_t Add(std::unique_ptr<P>&& presenter)
    {
        if (!presenter)
            return 0;
        if (!PrepareID(*presenter))
            return presenter->PresenterID;
        return Append(std::unique_ptr<TGlobePresenter>(presenter.release()));
    }
    // With withGlobal, falls back to the globe's global presenters.
    TGlobePresenter* ByID(int32_t id, bool withGlobal) const;
    // Hands the presenter back without freeing it.
    std::unique_ptr<TGlobePresenter> Delete(TGlobePresenter* presenter);
    void Clear();

    TCustomGlobeView& Globe() const { return m_globe; }
    bool Modified = false;

private:
    // Gives ID 0 the next free one; false when the ID is taken.
    bool PrepareID(TGlobePresenter& presenter) const;
    int32_t Append(std::unique_ptr<TGlobePresenter> presenter);

    TCustomGlobeView& m_globe;
    std::vector<std::unique_ptr<TGlobePresenter>> m_presenters;
};
