#include "app/load_result.h"

namespace {
LoadFailureHandler installedHandler = nullptr;
}

LoadResult loadFailure(std::string path, std::string message, bool endsLine) {
  return LoadResult{false, std::move(path), std::move(message), endsLine};
}

void setLoadFailureHandler(LoadFailureHandler handler) { installedHandler = handler; }

void reportLoadFailure(const LoadResult& failure) {
  if (installedHandler) installedHandler(failure);
}
