#include "editor/channel_choice.h"

RecordFields ChannelChoice::fieldsFor(const LevelKind& kind, RecordFields fields) const {
  for (size_t index = 0; index < kind.params.size() && index < fields.values.size(); ++index) {
    if (kind.params[index].type == Param::Channel)
      fields.values[index] = (fields.values[index] + chosen) % kChannelCount;
  }
  return fields;
}
