#include "app/music.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "app/safe_file.h"

namespace {

constexpr int kChannels = 2;
constexpr int kFragmentCount = 4;  // fragments queued ahead in the stream
constexpr int kSampleBits = 16;
constexpr int kUnsignedSamples = 0;                  // duh_render renders signed samples
constexpr int kFailuresToEnd = 2;                    // empty renders after which the module counts as ended
constexpr double kPositionUnitsPerSecond = 65536.0;  // DUMB's time unit
// The feeder looks for a stop request this often even when the stream asks for nothing, so
// stopMusic cannot hang on a stream that has stopped pulling fragments.
constexpr double kStopPollInterval = 0.1;  // s

DUH* currentModule = nullptr;
std::atomic<float> musicVolume{1.0f};
MusicPlayer* currentPlayer = nullptr;

struct QueueDeleter {
  void operator()(ALLEGRO_EVENT_QUEUE* queue) const { al_destroy_event_queue(queue); }
};
using EventQueueHandle = std::unique_ptr<ALLEGRO_EVENT_QUEUE, QueueDeleter>;

// The module library opens the file itself and would wait forever on a FIFO.
DUH* loadModule(const char* path) {
  if (!isRegularFile(path)) return nullptr;
  using Loader = DUH* (*)(const char*);
  for (Loader loader : {dumb_load_xm, dumb_load_it, dumb_load_mod, dumb_load_s3m}) {
    if (DUH* module = loader(path)) return module;
  }
  return nullptr;
}

void releaseRendererAndStream(MusicPlayer& player) {
  if (player.renderer) duh_end_sigrenderer(player.renderer);
  if (player.stream) al_destroy_audio_stream(player.stream);
  player.renderer = nullptr;
  player.stream = nullptr;
}

// Returns false when the module has ended: the last buffer goes back and the stream is
// released here on the feeder. A fragment event may come when no buffer is free any more (the
// library says so); that is skipped, since ending the feeder there would silence the music.
bool feedOneFragment(MusicPlayer& player) {
  void* buffer = al_get_audio_stream_fragment(player.stream);
  if (!buffer) return true;
  bool playing = renderFragment(player, buffer);
  al_set_audio_stream_fragment(player.stream, buffer);
  if (!playing) releaseRendererAndStream(player);
  return playing;
}

void* feed(ALLEGRO_THREAD* thread, void* argument) {
  MusicPlayer& player = *static_cast<MusicPlayer*>(argument);
  EventQueueHandle queue(al_create_event_queue());
  if (!queue) return nullptr;
  al_register_event_source(queue.get(), al_get_audio_stream_event_source(player.stream));
  while (!al_get_thread_should_stop(thread)) {
    ALLEGRO_EVENT event;
    if (!al_wait_for_event_timed(queue.get(), &event, kStopPollInterval)) continue;
    if (event.type == ALLEGRO_EVENT_AUDIO_STREAM_FRAGMENT && !feedOneFragment(player)) break;
  }
  return nullptr;
}

// Whatever step fails, the parts already made are released and null comes back.
MusicPlayer* createPlayer(DUH* module, int channels, int startOrder, float volume) {
  if (!al_is_audio_installed() || !al_get_default_mixer()) return nullptr;
  std::unique_ptr<MusicPlayer> player(new MusicPlayer());
  ALLEGRO_CHANNEL_CONF layout = channels == 2 ? ALLEGRO_CHANNEL_CONF_2 : ALLEGRO_CHANNEL_CONF_1;
  player->stream = al_create_audio_stream(kFragmentCount, player->fragmentLength, player->frequency,
                                          ALLEGRO_AUDIO_DEPTH_INT16, layout);
  if (!player->stream) return nullptr;
  bool attached = al_attach_audio_stream_to_mixer(player->stream, al_get_default_mixer());
  player->renderer = attached ? dumb_it_start_at_order(module, channels, startOrder) : nullptr;
  if (player->renderer) player->thread = al_create_thread(feed, player.get());
  if (!player->thread) {
    releaseRendererAndStream(*player);
    return nullptr;
  }
  player->volume.store(volume);
  player->failures = 0;
  al_start_thread(player->thread);
  return player.release();
}

}  // namespace

bool initMusic(int quality) {
  dumb_resampling_quality = quality;
  std::atexit(dumb_exit);
  // Handlers run in reverse: the feeder is joined before the module library and the audio
  // library shut down, also on the exit(1) paths of a bad level file or a missing bitmap.
  std::atexit(stopMusic);
  dumb_register_stdfiles();
  return true;
}

MusicPlayer* loadMusic(const char* path, int startOrder) {
  stopMusic();
  currentModule = loadModule(path);
  if (!currentModule) return nullptr;
  currentPlayer = createPlayer(currentModule, kChannels, startOrder, 1.0f);
  return currentPlayer;
}

void setMusicGain(MusicPlayer* player, float gain) {
  if (player) player->volume.store(gain, std::memory_order_relaxed);
}

void setMusicVolume(float volume) { musicVolume.store(volume, std::memory_order_relaxed); }

void stopMusic() {
  if (currentPlayer) {
    // Joins the feeder (it sees the request at its next event or poll) before its data is touched.
    al_destroy_thread(currentPlayer->thread);
    releaseRendererAndStream(*currentPlayer);
    delete currentPlayer;
  }
  if (currentModule) unload_duh(currentModule);
  currentPlayer = nullptr;
  currentModule = nullptr;
}

MusicPlayer* currentMusicPlayer() { return currentPlayer; }

bool renderFragment(MusicPlayer& player, void* buffer) {
  float delta = static_cast<float>(kPositionUnitsPerSecond / player.frequency);
  float volume = player.volume.load(std::memory_order_relaxed) * musicVolume.load(std::memory_order_relaxed);
  long rendered =
      duh_render(player.renderer, kSampleBits, kUnsignedSamples, volume, delta, player.fragmentLength, buffer);
  if (rendered == 0 && ++player.failures >= kFailuresToEnd) return false;
  long channels = duh_sigrenderer_get_n_channels(player.renderer);
  auto* samples = static_cast<std::int16_t*>(buffer);
  std::fill(samples + rendered * channels, samples + player.fragmentLength * channels, std::int16_t{0});
  return true;
}
