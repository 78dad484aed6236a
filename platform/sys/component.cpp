#include "platform/sys/component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    if (owner_) {
        owner_->components_.push_back(this);
        if (owner_->HasState(TComponentState::csDesigning))
            SetDesigning(true);
    }
}

TComponent::~TComponent()
{
    Destroying();
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
    if (owner_) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

void TComponent::SetDesigning(bool designing)
{
    if (designing)
        state_ |= Bit(TComponentState::csDesigning);
    else
        state_ &= ~Bit(TComponentState::csDesigning);
    for (TComponent* child : components_)
        child->SetDesigning(designing);
}

void TComponent::Loaded()
{
    state_ &= ~Bit(TComponentState::csLoading);
}
