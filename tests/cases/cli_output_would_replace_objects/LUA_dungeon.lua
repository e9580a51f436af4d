TORCH torch
LEVER lever
