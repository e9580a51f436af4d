-- an older script, replaced by the new one
old = true
