#include "platform/d2d1/present_record.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

namespace standin {
namespace {

// The last presenter of each window that a living target presented to.
struct Ledger {
  std::mutex lock;
  std::vector<std::pair<HWND, std::uint64_t>> last;
};

Ledger& TheLedger() {
  static Ledger ledger;
  return ledger;
}

std::uint64_t NextId() {
  static std::atomic<std::uint64_t> next{1};
  return next.fetch_add(1);
}

}  // namespace

PresentRecord::PresentRecord(HWND window) : window_(window), id_(NextId()) {}

PresentRecord::~PresentRecord() {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.lock);
  const auto mine = std::find(ledger.last.begin(), ledger.last.end(), std::pair{window_, id_});
  if (mine != ledger.last.end()) ledger.last.erase(mine);
}

bool PresentRecord::PresentedLast() const {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.lock);
  return std::find(ledger.last.begin(), ledger.last.end(), std::pair{window_, id_}) !=
         ledger.last.end();
}

void PresentRecord::NotePresent() {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.lock);
  const auto entry = std::find_if(ledger.last.begin(), ledger.last.end(),
                                  [&](const auto& e) { return e.first == window_; });
  if (entry != ledger.last.end()) {
    entry->second = id_;
  } else {
    ledger.last.emplace_back(window_, id_);
  }
}

}  // namespace standin
