#pragma once
// TClickWav: plays the desk tour's click through a hidden media player. The
// sound is "CLICKWAV.DAT" in the system folder, opened once when the player
// is given; a click plays only while the player is stopped, so a click that
// falls while the last one still sounds is dropped. Without a playable sound
// the program simply stays silent.

#include "framework/widgets/MediaPlayer.h"

class TClickWav : public TComponent {
    VN_COMPONENT(TClickWav)
public:
    explicit TClickWav(TComponent* owner);
    ~TClickWav() override;

    TMediaPlayer* MPlayer() const { return player_; }
    // No player: nothing changes. Otherwise the player is kept and, outside the
    // designer, the click sound is opened on it at once.
    void SetMPlayer(TMediaPlayer* player);

    void Play();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void OpenClickSound();

    TMediaPlayer* player_ = nullptr;
};

// The click sound's path: the system folder, "\", "CLICKWAV.DAT".
std::string ClickSoundPath();
