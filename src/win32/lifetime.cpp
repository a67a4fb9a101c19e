#include "win32/lifetime.h"

#include <atomic>
#include <mutex>
#include <unordered_set>

namespace quill::win32::lifetime {
namespace {

struct Registry {
  std::mutex lock;
  std::unordered_set<const void*> alive;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

std::atomic<unsigned long> g_stray{0};

}  // namespace

void Born(const void* object) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> hold(r.lock);
  r.alive.insert(object);
}

void Died(const void* object) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> hold(r.lock);
  r.alive.erase(object);
}

bool Alive(const void* object) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> hold(r.lock);
  return r.alive.count(object) != 0;
}

void CountStray() { ++g_stray; }
unsigned long StrayMessages() { return g_stray; }

}  // namespace quill::win32::lifetime
