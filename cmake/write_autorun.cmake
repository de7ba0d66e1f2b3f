# Writes the disc's autorun.inf: AutoPlay opens the launcher and shows its icon.
file(WRITE "${OUT}" "[autorun]\r\nopen=${LAUNCHER}\r\nicon=${LAUNCHER},0\r\nlabel=${LABEL}\r\n")
