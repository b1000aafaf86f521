#include "roomtour/controls/ClickWav.h"

#include "platform/Files.h"

VN_DEFINE_COMPONENT(TClickWav, TComponent,
    p.ComponentRef("MPlayer", &TClickWav::MPlayer, &TClickWav::SetMPlayer);
)

TClickWav::TClickWav(TComponent* owner) : TComponent(owner) {}

TClickWav::~TClickWav()
{
    if (player_)
        RemoveFreeNotification(player_);
}

std::string ClickSoundPath()
{
    char buffer[256] = {};
    const UINT length = GetSystemDirectoryA(buffer, 255);
    return std::string(buffer, length < 256 ? length : 0) + "\\" + "CLICKWAV.DAT";
}

void TClickWav::SetMPlayer(TMediaPlayer* player)
{
    if (!player)
        return;
    if (player_)
        RemoveFreeNotification(player_);
    player_ = player;
    FreeNotification(player);
    if (!IsDesigning())
        OpenClickSound();
}

void TClickWav::OpenClickSound()
{
    const std::string path = ClickSoundPath();
    try {
        player_->SetWait(true);
        player_->Close();
        player_->SetDeviceType(dtWaveAudio);
        player_->SetFileName(path);
        player_->SetWait(true);
        player_->Open();
    } catch (const EMCIDeviceError&) {
        // No click sound: the program goes on silently.
        player_->Close();
    }
}

void TClickWav::Play()
{
    if (player_ && player_->Mode() == mpStopped)
        player_->Play();
}

void TClickWav::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == player_)
        player_ = nullptr;
}
