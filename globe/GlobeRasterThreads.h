#pragma once

// The raster threads: the pixels of a pass into an image are set by helper
// threads while the window thread goes on projecting and clipping the next
// objects. The window thread queues painter operations; every raster thread
// runs all of them, in the order queued, on its own painter of the target
// (one horizontal band of the picture each), and skips those whose target
// has no painter for it. A painter with operations queued belongs to the
// raster threads until Finish.

#include <QPoint>
#include <QRect>
#include <array>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QPainter;

class TGlobeRasterThreads {
public:
    static constexpr int kMaxThreads = 4;
    // The painter of each raster thread, null where a thread has no part,
    // and the part of the device it draws (null: all of it).
    struct TTarget {
        std::array<QPainter*, kMaxThreads> Painters{};
        std::array<QRect, kMaxThreads> Bands{};
    };
    // Points copied for queued operations of the current batch.
    struct TPoints {
        int Offset = 0;
        int Count = 0;
    };
    // Runs on a raster thread, maybe on several at once: it may only read
    // what it captured. points is the batch's copy of the points queued
    // with CopyPoints, band the part of the device the painter draws.
    using TOperation = std::function<void(QPainter& painter, const QPoint* points, const QRect& band)>;

    // The raster threads of the program, one for each processor up to four,
    // started on first use.
    static TGlobeRasterThreads& Instance();

    explicit TGlobeRasterThreads(int threads);
    ~TGlobeRasterThreads();
    TGlobeRasterThreads(const TGlobeRasterThreads&) = delete;
    TGlobeRasterThreads& operator=(const TGlobeRasterThreads&) = delete;

    int Threads() const { return static_cast<int>(m_workers.size()); }
    TPoints CopyPoints(const QPoint* points, int n);
    // The target must stay as it is until Finish.
    void Post(const TTarget& target, TOperation operation);
    // Returns when every queued operation has run.
    void Finish();

private:
    struct TEntry {
        const TTarget* Target;
        TOperation Operation;
    };
    struct TBatch {
        std::vector<TEntry> Entries;
        std::vector<QPoint> Points;
    };
    struct TWorker {
        std::deque<std::shared_ptr<const TBatch>> Queue;
        bool Busy = false;
        std::thread Thread;
    };

    void Submit();
    void Run(int index);
    bool Idle() const;

    // Filled by the window thread only, handed over whole.
    std::shared_ptr<TBatch> m_current;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::vector<std::unique_ptr<TWorker>> m_workers;
    bool m_stop = false;
};
