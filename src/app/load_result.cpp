#include "app/load_result.h"

namespace {
LoadFailureHandler installedHandler = nullptr;
}

LoadResult loadFailure(LoadError error, std::string path, std::string message, bool endsLine) {
  return LoadResult{error, std::move(path), std::move(message), endsLine};
}

void setLoadFailureHandler(LoadFailureHandler handler) { installedHandler = handler; }

void reportLoadFailure(const LoadResult& failure) {
  if (installedHandler) installedHandler(failure);
}
