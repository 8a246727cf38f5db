#include "tests/support/recording_factory.h"

namespace fakes {

RecordingFactory::RecordingFactory() : state_(std::make_shared<FactoryState>()) {}

std::vector<std::shared_ptr<PathRecord>> RecordingFactory::LivePaths() const {
  std::vector<std::shared_ptr<PathRecord>> live;
  for (const auto& path : state_->paths) {
    if (path->geometryAlive) live.push_back(path);
  }
  return live;
}

HRESULT STDMETHODCALLTYPE RecordingFactory::CreatePathGeometry(ID2D1PathGeometry** pathGeometry) {
  if (pathGeometry == nullptr) return E_POINTER;
  *pathGeometry = nullptr;
  if (state_->pathCreation.Fails()) return E_OUTOFMEMORY;
  auto record = std::make_shared<PathRecord>();
  record->index = static_cast<int>(state_->paths.size());
  orb::ComPtr<RecordingPathGeometry> made =
      orb::MakeComObject<RecordingPathGeometry>(state_, record);
  if (!made) return E_OUTOFMEMORY;
  state_->paths.push_back(record);
  *pathGeometry = made.Detach();
  return S_OK;
}

}  // namespace fakes
