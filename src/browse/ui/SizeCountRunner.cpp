#include "browse/ui/SizeCountRunner.h"

#include "platform/ui/QtText.h"

#include <QMetaObject>

namespace orvo {

// Lives on the counting thread: every report crosses to the runner's
// thread, where reports of a count that was replaced meanwhile are dropped.
class SizeCountRunner::Sink : public SizeCountSink {
public:
    Sink(SizeCountRunner* runner, quint64 generation) : runner_(runner), generation_(generation) {}

    void RowProgress(int row, const std::string& path, const std::string& text) override {
        Post([=, p = PathToQ(path), t = QString::fromStdString(text)](SizeCountRunner* r) {
            emit r->RowProgress(row, p, t);
        });
    }
    void RowCounted(int row, const std::string& path, const std::string& text,
                    uint32_t kb) override {
        Post([=, p = PathToQ(path), t = QString::fromStdString(text)](SizeCountRunner* r) {
            emit r->RowCounted(row, p, t, kb);
        });
    }
    void TotalChanged(uint64_t total) override {
        Post([=](SizeCountRunner* r) { emit r->TotalChanged(total); });
    }
    void Finished(uint64_t total, bool cancelled) override {
        Post([=](SizeCountRunner* r) {
            r->running_ = false;
            emit r->Finished(total, cancelled);
        });
    }

private:
    template <typename F> void Post(F f) {
        SizeCountRunner* runner = runner_;
        quint64 generation = generation_;
        QMetaObject::invokeMethod(
            runner,
            [runner, generation, f] {
                if (generation == runner->generation_)
                    f(runner);
            },
            Qt::QueuedConnection);
    }

    SizeCountRunner* runner_;
    quint64 generation_;
};

SizeCountRunner::SizeCountRunner(QObject* parent) : QObject(parent) {}

SizeCountRunner::~SizeCountRunner() {
    Cancel();
    Join();
}

void SizeCountRunner::Join() {
    if (thread_.joinable())
        thread_.join();
}

void SizeCountRunner::Cancel() {
    if (control_)
        control_->cancel = true;
}

void SizeCountRunner::StopCurrentDirectory() {
    if (control_ && running_)
        control_->stopCurrent = true;
}

void SizeCountRunner::Start(std::vector<SizeCountRow> rows, std::string home) {
    Cancel();
    Join();
    control_ = std::make_shared<SizeCountControl>();
    running_ = true;
    const quint64 generation = ++generation_;
    thread_ = std::thread([this, generation, control = control_, rows = std::move(rows),
                           home = std::move(home)] {
        Sink sink(this, generation);
        CountDirectories(rows, *control, sink, {}, 40, home);
    });
}

} // namespace orvo
