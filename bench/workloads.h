// What the benchmarks measure: the module in the native substitute simulator,
// driven through its message hooks as the host drives it. A workload builds its
// scene and starts the module once; Step() is the one thing measured.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace varolen::bench {

class Workload {
 public:
  virtual ~Workload() = default;
  virtual void Step() = 0;
  // Workloads whose step cannot simply repeat (start-up) undo it here, unmeasured.
  virtual bool Restarts() const { return false; }
  virtual void Restart() {}
};

struct WorkloadKind {
  const char* name;
  std::vector<int> sizes;  // scene sizes it runs at; {0} where it has none
  std::unique_ptr<Workload> (*make)(int size);
};

const std::vector<WorkloadKind>& WorkloadKinds();
const WorkloadKind* FindWorkload(const std::string& name);

}  // namespace varolen::bench
