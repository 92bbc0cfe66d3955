#include "app/batch_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>

#include "cli/sample_day.h"
#include "convert/batch_converter.h"
#include "platform/file_system.h"
#include "tests/support/expected_log.h"
#include "tests/support/recording_batch.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using Clock = std::chrono::steady_clock;
using Strings = std::vector<std::string>;

// A window that records what it is shown, served by the test's thread as a
// window's thread serves its messages and timers. Its clock stands still but
// for its timers: each moves it on to the time the timer is due.
class RecordingWindow final : public BatchWindow {
 public:
  void lockInput(bool locked) override { locks.push_back(locked); }
  void appendLog(std::string_view text) override {
    log += text;
    appendedAt.push_back(now_);
  }
  void setLogLimit(std::size_t) override {}
  void selectRow(std::size_t index) override { rows.push_back(index); }
  void setTitle(std::string_view title) override { titles.emplace_back(title); }
  void showFields(const DialogModel::Fields& shown) override { fields = shown; }
  void showMessageBox(std::string_view text) override { messages.emplace_back(text); }
  void batchEnded() override { ended = true; }
  void wake() override { wakeAt(Clock::time_point::min()); }  // any thread: reads no clock
  void wakeAfter(std::chrono::milliseconds delay) override { wakeAt(now_ + delay); }
  Clock::time_point now() const override { return now_; }

  // Serves `session` whenever it asks to be, the earliest timer first, until
  // the batch has ended.
  void serveUntilEnded(BatchSession& session) {
    while (!ended) {
      Clock::time_point due;
      {
        std::unique_lock lock(mutex_);
        woken_.wait(lock, [this] { return !due_.empty(); });
        due = *due_.begin();
        due_.erase(due_.begin());
      }
      now_ = std::max(now_, due);
      session.serve();
    }
  }

  std::vector<bool> locks;
  std::string log;
  std::vector<Clock::time_point> appendedAt;  // by the window's clock
  std::vector<std::size_t> rows;
  Strings titles;
  DialogModel::Fields fields;
  Strings messages;
  bool ended = false;

 private:
  void wakeAt(Clock::time_point due) {
    const std::lock_guard lock(mutex_);
    due_.insert(due);
    woken_.notify_all();
  }

  Clock::time_point now_ = Clock::time_point() + std::chrono::hours(1);  // the window's thread's
  std::mutex mutex_;
  std::condition_variable woken_;
  std::multiset<Clock::time_point> due_;
};

// The window ends up showing what the converter says, gathered into a few
// appends however many texts there are, and is unlocked at the end. By the
// window's clock, texts wait for the interval since the last showing; only
// the end of the batch is shown at once.
TEST(BatchSessionTest, WindowShowsWhatTheBatchSays) {
  testing::ScopedTempDir folder;
  const std::string start = utf8FromPath(folder.path());
  const std::string missing = utf8FromPath(folder.path() / "missing");
  const SampleFile& sample = sampleFiles()[0];
  Strings samples;
  for (int i = 0; i < 30; ++i) {
    const std::filesystem::path copy = folder.path() / std::to_string(i);
    std::filesystem::create_directory(copy);
    samples.push_back(utf8FromPath(copy / sample.fileName));
    testing::writeFile(samples.back(), makeSampleDay(sample));
  }
  const struct {
    Strings targets;
    std::string startDirectory;
  } cases[] = {
      {{samples[0], "notes.txt"}, start},
      {samples, start},
      {{"notes.txt"}, missing},  // a message box says why nothing was done
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.targets.size());
    DialogModel model(c.startDirectory);
    for (const std::string& target : c.targets) model.addTarget(target);
    testing::RecordingLog expected;
    testing::RecordingView view;
    const BatchResult result = BatchConverter().run(c.targets, c.startDirectory, expected, view);
    const Strings messages = DialogModel(c.startDirectory).finishBatch(result);

    RecordingWindow window;
    BatchSession session(model, window);
    session.start();
    window.serveUntilEnded(session);

    EXPECT_EQ(window.log, expected.joined());
    EXPECT_EQ(window.locks, (std::vector<bool>{true, false}));
    EXPECT_EQ(window.messages, messages);
    EXPECT_EQ(window.titles.back(), "Fenmarq");
    if (!view.selected.empty()) {
      EXPECT_EQ(window.rows.back(), view.selected.back());
      EXPECT_EQ(window.titles.end()[-2], "Fenmarq – " + std::to_string(c.targets.size()) + " / " +
                                             std::to_string(c.targets.size()));
    }
    // One append at most per interval, and one at the end; a long list is
    // shown as it goes, not all at its end.
    for (std::size_t i = 1; i + 1 < window.appendedAt.size(); ++i) {
      EXPECT_GE(window.appendedAt[i] - window.appendedAt[i - 1], BatchSession::kShowInterval) << i;
    }
    if (c.targets.size() > 2) {
      EXPECT_GE(window.appendedAt.size(), 2u);
    }
    EXPECT_FALSE(model.batchRunning());
  }
}

// Quitting during a batch: the session ends without the window serving it,
// and the batch goes on to its end first: every output is the one a batch
// left to finish writes.
TEST(BatchSessionTest, QuittingDuringABatchLetsItFinish) {
  testing::ScopedTempDir folder;
  Strings inputs, names;
  for (const SampleFile& sample : {sampleFiles()[0], sampleFiles()[1]}) {
    names.emplace_back(sample.fileName);
    inputs.push_back(utf8FromPath(folder.path() / sample.fileName));
    testing::writeFile(inputs.back(), makeSampleDay(sample));
  }
  testing::ScopedTempDir finished;
  testing::RecordingLog log;
  testing::RecordingView view;
  ASSERT_TRUE(BatchConverter().run(inputs, utf8FromPath(finished.path()), log, view).finished);
  DialogModel model(utf8FromPath(folder.path()));
  for (const std::string& input : inputs) model.addTarget(input);
  {
    RecordingWindow window;
    BatchSession session(model, window);
    session.start();
  }
  for (const std::string& name : names) {
    for (const testing::Output output : testing::kOutputs) {
      const std::string key = testing::outputKey(output, name);
      EXPECT_EQ(testing::firstDifference(testing::readFile(utf8FromPath(finished.path() / key)),
                                         testing::readFile(utf8FromPath(folder.path() / key))),
                "")
          << key;
    }
  }
}

}  // namespace
}  // namespace fenmarq
