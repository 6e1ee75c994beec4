function peers_print_ratio(peer, peerSeconds, ourSeconds)
  % One line: the peer's time and peer / ours, said the way round it falls.
  ratio = peerSeconds / ourSeconds;
  if ratio >= 1
    printf('    %-34s %8.4f s   ratio %.2fx (clusterkit faster)\n', peer, peerSeconds, ratio);
  else
    printf('    %-34s %8.4f s   ratio %.2fx (peer faster)\n', peer, peerSeconds, 1 / ratio);
  end
end
