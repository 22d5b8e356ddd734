#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

namespace vidorun::testing {

// Watches a test that must answer at once: if it still runs after two
// seconds, a writer comes along to free whoever waits on the pipe, and the
// watch reports that it had to.
class Watchdog {
public:
    explicit Watchdog(std::string pipe)
        : m_thread([this, pipe = std::move(pipe)] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (m_done.wait_for(lock, std::chrono::seconds(2), [this] { return m_finished; }))
                  return;
              m_fired = true;
              const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
              if (fd >= 0)
                  ::close(fd);
          })
    {
    }
    // True when the watched test blocked.
    bool finish()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
        return m_fired;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    bool m_fired = false;
    std::thread m_thread;
};

// Runs `test` under a watchdog on `pipe`; fails the test if it blocked.
template <typename Test>
auto answeredAtOnce(Test test, const std::string &pipe)
{
    Watchdog watchdog(pipe);
    auto answer = test();
    EXPECT_FALSE(watchdog.finish()) << "blocked on " << pipe;
    return answer;
}

}  // namespace vidorun::testing
