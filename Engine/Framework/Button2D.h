#pragma once

#include <string>

#include "Framework/Sprite2D.h"
#include "Framework/TextLabel.h"

// A clickable sprite with a caption, a tooltip, a hover highlight and click and hover sounds.
// Hit tests use the camera's cursor and the unscaled, unrotated width × height.
class Button2D : public Sprite2D
{
public:
  // A plain quad whose caption is its name.
  explicit Button2D(std::string buttonName);
  // An image button without caption; its owner sets width and height before the first draw.
  Button2D(std::string buttonName, std::string file);
  ~Button2D() override;

  void Update(const float& dt) override;

  // Moves the button and places both labels relative to it.
  void SetPosition(const float& x, const float& y);
  // True once, in the frame the left button goes down over the button.
  bool IsClicked();
  // True while the cursor is over the button; plays the hover sound on entry.
  bool IsMouseOver();
  std::string GetTooltip() const;

  // Places caption and tooltip where they are printed for the current position.
  void PlaceLabels();
  // Lit up (mouse over it, or the pad's choice) or plain; the alpha stays as it is.
  void SetHighlighted(bool highlighted);

  TextLabel* tooltip = nullptr;
  TextLabel* caption = nullptr;
  bool hovered = false;
  bool disabled = false;
  Color4 textColor;

private:
  bool HitTest() const;
};

// Registers the image with the button and shows it; a null button is skipped.
void ShowImage(Button2D* button, const std::string& file);
// A null button is skipped.
void SetHidden(Button2D* button, bool hidden);
