program Woerter;
{ Zählt Buchstaben, Ziffern und andere Zeichen in einem Satz. }

type
  TZaehler = record
    Buchstaben, Ziffern, Andere: Integer;
  end;

var
  Satz: string;
  i: Integer;
  z: TZaehler;
  c: Char;

begin
  Satz := 'Am 3. Mai; um 12 Uhr (* kein Kommentar *) { auch keiner } // nicht';
  with z do
  begin
    Buchstaben := 0; Ziffern := 0;
    Andere := 0
  end;
  for i := 1 to Length(Satz) do
  begin
    c := Satz[i];
    case c of
      'a'..'z', 'A'..'Z': Inc(z.Buchstaben);
      '0'..'9': Inc(z.Ziffern);
    otherwise
      Inc(z.Andere);
    end
  end;
  writeln('Buchstaben: ', z.Buchstaben);
  writeln('Ziffern: ', z.Ziffern);
  writeln('Andere: ', z.Andere);
  i := Length(Satz);
  while (i > 0) and (Satz[i] <> ' ') do
    Dec(i);
  writeln('Letztes Wort: ', Copy(Satz, i + 1, Length(Satz) - i));
end.
