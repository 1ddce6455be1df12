#pragma once

#include <pthread.h>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "rows/row_computation.h"

namespace recibo::batch {

// recibo-lote -j N: rows computed by N threads of their own, in batches, and
// handed back in the table's order. The calling thread adds the rows as the
// table is read and takes the finished batches; it waits only when too many
// batches are under way, so that memory stays bounded however long the table.
class RowPool {
public:
    // What one batch of rows gave, in their order: their JSON lines, the
    // receipts of the computed ones (only when `keepReceipts`), and whether
    // any row failed.
    struct Finished {
        std::string_view lines;
        std::span<const ComputedRow> receipts;
        bool someRowFailed = false;
    };

    // `batchRows` rows to a batch (fewer when their cells are long). With
    // `prepare`, each receipt kept has its page prepared by the thread that
    // computed it; each thread calls `stop` as it ends.
    RowPool(const RowComputation& computation, unsigned threads, std::size_t batchRows, bool keepReceipts,
            PagePreparer prepare = {}, WorkerStop stop = {});
    // Stops the threads, whatever they were doing, and waits for them.
    ~RowPool();
    RowPool(const RowPool&) = delete;
    RowPool& operator=(const RowPool&) = delete;

    // How many threads could be started: none when the system refused.
    std::size_t threads() const { return threads_.size(); }

    // Row `fila`, its cells copied (one per column). True when that made a
    // batch whole and sent it to be computed.
    bool add(std::size_t fila, std::span<const std::string_view> cells);
    // The rows added last, though fewer than a batch, are computed too.
    void close();
    // The next batch in the table's order once it is finished: waiting for
    // it when `wait` or when too many batches are under way, otherwise
    // nothing while it is not. Nothing when every batch added has been
    // handed back. Valid until the next call of next() or add(). What a
    // computing thread could not get past (no memory) is thrown here.
    std::optional<Finished> next(bool wait);

private:
    struct Batch;
    struct Worker {
        RowPool* pool;
        std::size_t number;
    };
    void work(std::size_t worker);
    void submit();

    const RowComputation& computation_;
    const std::size_t batchRows_;
    const bool keepReceipts_;
    const PagePreparer prepare_;
    const WorkerStop stop_;
    const std::size_t maxUnderWay_;

    std::mutex mutex_;
    std::condition_variable workToDo_;
    std::condition_variable batchDone_;
    std::deque<Batch*> toCompute_;                 // under mutex_
    bool stopping_ = false;                        // under mutex_
    std::deque<std::unique_ptr<Batch>> underWay_;  // in the table's order
    std::unique_ptr<Batch> filling_;
    std::vector<std::unique_ptr<Batch>> spare_;  // handed back, kept for their room
    bool handedBack_ = false;                    // underWay_.front() was returned by next()
    std::vector<Worker> workers_;                // what each thread is started with
    std::vector<pthread_t> threads_;
};

}  // namespace recibo::batch
