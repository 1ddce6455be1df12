#include "row_pool.h"

#include <exception>
#include <string>

namespace recibo::batch {

namespace {

// A batch's cells, all of them, up to about this size: a batch of very long
// rows holds fewer rows.
constexpr std::size_t kBatchCellBytes = std::size_t{1} << 20;

// The computing threads need little stack; the system's default (8 MiB
// each) would count against a limit on the process's data (ulimit -d).
constexpr std::size_t kThreadStack = std::size_t{1} << 20;

}  // namespace

struct RowPool::Batch {
    std::vector<std::size_t> filas;
    std::string cellText;               // the cells, one right after the other
    std::vector<std::size_t> cellEnds;  // where each ends in cellText
    JsonLines lines;
    std::vector<ComputedRow> receipts;
    bool someRowFailed = false;
    std::exception_ptr error;
    bool done = false;  // under mutex_

    void clear()
    {
        filas.clear();
        cellText.clear();
        cellEnds.clear();
        lines.clear();
        receipts.clear();
        someRowFailed = false;
        error = nullptr;
        done = false;
    }
};

RowPool::RowPool(const RowComputation& computation, unsigned threads, std::size_t batchRows, bool keepReceipts,
                 PagePreparer prepare, WorkerStop stop)
    : computation_(computation),
      batchRows_(batchRows),
      keepReceipts_(keepReceipts),
      prepare_(std::move(prepare)),
      stop_(std::move(stop)),
      maxUnderWay_(2 * threads + 2)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kThreadStack);
    // Each thread learns its worker number from its place in workers_,
    // filled before the first starts.
    workers_.reserve(threads);
    for (unsigned i = 0; i < threads; ++i)
        workers_.push_back({this, i});
    for (Worker& worker : workers_) {
        pthread_t thread;
        const auto start = [](void* started) -> void* {
            const Worker& worker = *static_cast<Worker*>(started);
            worker.pool->work(worker.number);
            return nullptr;
        };
        if (pthread_create(&thread, &attributes, start, &worker) != 0)
            break;
        threads_.push_back(thread);
    }
    pthread_attr_destroy(&attributes);
    filling_ = std::make_unique<Batch>();
}

RowPool::~RowPool()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    workToDo_.notify_all();
    for (const pthread_t thread : threads_)
        pthread_join(thread, nullptr);
}

void RowPool::work(std::size_t worker)
{
    // Whatever fails here, its own room included, is handed to the calling
    // thread with the batches it takes: nothing escapes the thread, which
    // would abort the process.
    std::vector<std::string_view> cells;
    std::exception_ptr cannotWork;
    try {
        cells.resize(computation_.columnCount());
    } catch (...) {
        cannotWork = std::current_exception();
    }
    for (;;) {
        Batch* batch = nullptr;
        {
            std::unique_lock lock(mutex_);
            workToDo_.wait(lock, [this] { return stopping_ || !toCompute_.empty(); });
            if (stopping_)
                break;
            batch = toCompute_.front();
            toCompute_.pop_front();
        }
        try {
            if (cannotWork)
                std::rethrow_exception(cannotWork);
            std::size_t from = 0;
            for (std::size_t row = 0; row < batch->filas.size(); ++row) {
                for (std::size_t column = 0; column < cells.size(); ++column) {
                    const std::size_t end = batch->cellEnds[row * cells.size() + column];
                    cells[column] = std::string_view(batch->cellText).substr(from, end - from);
                    from = end;
                }
                auto computed = computation_.compute(batch->filas[row], cells, batch->lines);
                if (!computed || computed->differsFromOfficial)
                    batch->someRowFailed = true;
                else if (keepReceipts_) {
                    if (prepare_)
                        computed->page = prepare_(*computed, worker);
                    batch->receipts.push_back(std::move(*computed));
                }
            }
        } catch (...) {
            batch->error = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex_);
            batch->done = true;
        }
        batchDone_.notify_one();
    }
    try {
        if (stop_)
            stop_(worker);
    } catch (...) {
        // What it could not finish is found unfinished by whoever reads it.
    }
}

bool RowPool::add(std::size_t fila, std::span<const std::string_view> cells)
{
    Batch& batch = *filling_;
    batch.filas.push_back(fila);
    for (std::size_t column = 0; column < computation_.columnCount(); ++column) {
        if (column < cells.size())
            batch.cellText.append(cells[column]);
        batch.cellEnds.push_back(batch.cellText.size());
    }
    if (batch.filas.size() < batchRows_ && batch.cellText.size() < kBatchCellBytes)
        return false;
    submit();
    return true;
}

void RowPool::close()
{
    if (!filling_->filas.empty())
        submit();
}

void RowPool::submit()
{
    Batch* batch = filling_.get();
    underWay_.push_back(std::move(filling_));
    {
        const std::lock_guard lock(mutex_);
        toCompute_.push_back(batch);
    }
    workToDo_.notify_one();
    if (!spare_.empty()) {
        filling_ = std::move(spare_.back());
        spare_.pop_back();
    } else {
        filling_ = std::make_unique<Batch>();
    }
}

std::optional<RowPool::Finished> RowPool::next(bool wait)
{
    if (handedBack_) {
        handedBack_ = false;
        underWay_.front()->clear();
        spare_.push_back(std::move(underWay_.front()));
        underWay_.pop_front();
    }
    if (underWay_.empty())
        return std::nullopt;
    Batch& batch = *underWay_.front();
    {
        std::unique_lock lock(mutex_);
        if (wait || underWay_.size() >= maxUnderWay_)
            batchDone_.wait(lock, [&batch] { return batch.done; });
        else if (!batch.done)
            return std::nullopt;
    }
    if (batch.error)
        std::rethrow_exception(batch.error);
    handedBack_ = true;
    return Finished{batch.lines.text(), batch.receipts, batch.someRowFailed};
}

}  // namespace recibo::batch
