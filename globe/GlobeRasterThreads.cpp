#include "globe/GlobeRasterThreads.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {
// A batch goes to the raster threads when it holds this much: small enough
// that the threads overlap, large enough that handing over costs little.
constexpr size_t kBatchEntries = 96;
constexpr size_t kBatchPoints = 6000;
} // namespace

TGlobeRasterThreads& TGlobeRasterThreads::Instance()
{
    static TGlobeRasterThreads threads(std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxThreads));
    return threads;
}

TGlobeRasterThreads::TGlobeRasterThreads(int threads) : m_current(std::make_shared<TBatch>())
{
    // Qt makes its hatch patterns on first use, without a lock: they are
    // made here, before any raster thread could ask for them at once.
    QImage warm(8, 8, QImage::Format_ARGB32_Premultiplied);
    QPainter(&warm).fillRect(warm.rect(), QBrush(Qt::black, Qt::DiagCrossPattern));
    for (int i = 0; i < std::clamp(threads, 1, kMaxThreads); ++i)
        m_workers.push_back(std::make_unique<TWorker>());
    for (size_t i = 0; i < m_workers.size(); ++i)
        m_workers[i]->Thread = std::thread([this, i] { Run(static_cast<int>(i)); });
}

TGlobeRasterThreads::~TGlobeRasterThreads()
{
    Finish();
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    for (auto& worker : m_workers)
        worker->Thread.join();
}

TGlobeRasterThreads::TPoints TGlobeRasterThreads::CopyPoints(const QPoint* points, int n)
{
    std::vector<QPoint>& store = m_current->Points;
    const TPoints copied{static_cast<int>(store.size()), n};
    store.insert(store.end(), points, points + n);
    return copied;
}

void TGlobeRasterThreads::Post(const TTarget& target, TOperation operation)
{
    m_current->Entries.push_back({&target, std::move(operation)});
    if (m_current->Entries.size() >= kBatchEntries || m_current->Points.size() >= kBatchPoints)
        Submit();
}

void TGlobeRasterThreads::Submit()
{
    if (m_current->Entries.empty())
        return;
    std::shared_ptr<const TBatch> batch = std::move(m_current);
    {
        std::lock_guard lock(m_mutex);
        for (auto& worker : m_workers)
            worker->Queue.push_back(batch);
    }
    m_wake.notify_all();
    m_current = std::make_shared<TBatch>();
    m_current->Entries.reserve(kBatchEntries);
    m_current->Points.reserve(kBatchPoints + 1000);
}

bool TGlobeRasterThreads::Idle() const
{
    return std::all_of(m_workers.begin(), m_workers.end(),
                       [](const auto& worker) { return worker->Queue.empty() && !worker->Busy; });
}

void TGlobeRasterThreads::Finish()
{
    Submit();
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return Idle(); });
}

void TGlobeRasterThreads::Run(int index)
{
    TWorker& self = *m_workers[index];
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_stop || !self.Queue.empty(); });
        if (self.Queue.empty())
            return; // stopped with nothing left
        std::shared_ptr<const TBatch> batch = std::move(self.Queue.front());
        self.Queue.pop_front();
        self.Busy = true;
        lock.unlock();
        for (const TEntry& entry : batch->Entries)
            if (QPainter* painter = entry.Target->Painters[index])
                entry.Operation(*painter, batch->Points.data(), entry.Target->Bands[index]);
        batch.reset(); // the last thread through frees it, outside the lock
        lock.lock();
        self.Busy = false;
        if (Idle())
            m_idle.notify_all();
    }
}
