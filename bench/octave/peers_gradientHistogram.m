% gradientHistogram against VLFeat's vl_hog (Dalal-Triggs variant, cell 8,
% 9 orientations, single precision as it requires) in this Octave process,
% on a 480 x 640 grey and a 480 x 640 x 3 colour image of whole grey levels.
rand('seed', 1);
printf('gradientHistogram 480 x 640, defaults (best of 20)\n');
haveVl = exist('vl_hog') > 0;
for planes = [1 3]
  image = floor(rand(480, 640, planes) * 256);
  ours = peers_best_seconds(@() gradientHistogram(image), 20);
  printf('  %s: gradientHistogram %.4f s\n', ifelse_text(planes == 1, 'grey  ', 'colour'), ours);
  if haveVl
    pixels = single(image);
    peer = peers_best_seconds(@() vl_hog(pixels, 8, 'variant', 'dalaltriggs', 'numOrientations', 9), 20);
    peers_print_ratio('VLFeat vl_hog (single)', peer, ours);
  else
    printf('    VLFeat vl_hog: not installed (Debian octave-vlfeat)\n');
  end
end
